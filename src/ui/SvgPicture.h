#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

namespace orvalin {

// An SVG picture drawn for a control of the given size, in as many pixels as
// a screen of the given pixel ratio shows there, so that it stays sharp on a
// scaled screen. The picture keeps its proportions, centred; a file that is
// no SVG leaves the pixmap transparent.
QPixmap renderSvg(const QString& path, const QSize& size, qreal devicePixelRatio);

} // namespace orvalin
