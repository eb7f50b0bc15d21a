#pragma once

#include "ui/DialogUnits.h"

#include <QDialog>

namespace orvalin {

// The frame of every dialog but the main window: a title bar without
// buttons. The dialog closes through its own buttons, Esc or the window's
// close command.
inline constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

// The opening every window of the program shares: its title, the dialog
// colours and a fixed size in dialog units of its font. Returns the units,
// to place the controls with.
DialogUnits setUpDialog(QDialog& dialog, const QString& windowTitle, int width, int height);

// The large title at the top of a dialog, in Arial, bold, at the given
// character height, placed in dialog units.
void addDialogTitle(QDialog& dialog, const DialogUnits& units, const QString& text, int x, int y,
                    int width, int height, int pixelHeight = 16);

} // namespace orvalin
