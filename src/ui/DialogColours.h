#pragma once

#include <QColor>

class QWidget;

namespace orvalin {

// The grey behind dialogs, buttons and static texts: the red component of the
// window colour less 8 (wrapping as a byte does) in all three components.
QColor dialogGrey(const QColor& windowColour);

// Gives a dialog and its controls the program's look: the grey behind the
// dialog, its buttons and texts, the window colour behind edit and list
// boxes, and the window text colour for every text. A control that sets its
// own colours (a swatch, the tip area) keeps them.
void applyDialogColours(QWidget& dialog);

} // namespace orvalin
