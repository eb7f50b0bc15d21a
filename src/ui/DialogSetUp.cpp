#include "ui/DialogSetUp.h"

#include "ui/ColourLabel.h"
#include "ui/DialogColours.h"

namespace orvalin {

DialogUnits setUpDialog(QDialog& dialog, const QString& windowTitle, int width, int height)
{
    dialog.setWindowTitle(windowTitle);
    applyDialogColours(dialog);
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.size(width, height));
    return units;
}

void addDialogTitle(QDialog& dialog, const DialogUnits& units, const QString& text, int x, int y,
                    int width, int height, int pixelHeight)
{
    auto* title = new ColourLabel(text, &dialog);
    title->setFontName(QStringLiteral("Arial"));
    title->setFontHeight(pixelHeight);
    title->setBold(true);
    units.place(*title, x, y, width, height);
}

} // namespace orvalin
