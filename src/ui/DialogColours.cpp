#include "ui/DialogColours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace orvalin {

QColor dialogGrey(const QColor& windowColour)
{
    const int grey = (windowColour.red() - 8) & 0xFF;
    return {grey, grey, grey};
}

void applyDialogColours(QWidget& dialog)
{
    const QPalette system = QApplication::palette();
    const QColor window = system.color(QPalette::Base);
    const QColor text = system.color(QPalette::Text);
    const QColor grey = dialogGrey(window);

    QPalette palette = dialog.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, grey);
        palette.setColor(group, QPalette::Button, grey);
        palette.setColor(group, QPalette::Base, window);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Text, text);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, grey);
    palette.setColor(QPalette::Disabled, QPalette::Button, grey);
    dialog.setPalette(palette);
    dialog.setAutoFillBackground(true);
}

} // namespace orvalin
