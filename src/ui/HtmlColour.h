#pragma once

#include <QColor>
#include <QString>

namespace orvalin {

// The colour an HTML value such as "FF8000" stands for. Never fails: only the
// first six characters count, and a character that is not a hex digit (a
// missing one included) counts as 0.
QColor parseHtmlColour(const QString& text);

// Six upper-case hex digits, red, green and blue, without "#".
QString formatHtmlColour(const QColor& colour);

} // namespace orvalin
