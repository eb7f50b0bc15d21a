#include "ui/ColourLabel.h"

#include <QPalette>

namespace orvalin {

ColourLabel::ColourLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAutoFillBackground(true);
}

void ColourLabel::setBackgroundColour(const QColor& colour)
{
    QPalette own = palette();
    own.setColor(QPalette::Window, colour);
    setPalette(own);
}

QColor ColourLabel::backgroundColour() const
{
    return palette().color(QPalette::Window);
}

void ColourLabel::setTextColour(const QColor& colour)
{
    QPalette own = palette();
    own.setColor(QPalette::WindowText, colour);
    setPalette(own);
    repaint();
}

QColor ColourLabel::textColour() const
{
    return palette().color(QPalette::WindowText);
}

void ColourLabel::setFontName(const QString& face)
{
    QFont own = font();
    own.setFamily(face.left(31));
    setFont(own);
    repaint();
}

void ColourLabel::setFontHeight(int pixels)
{
    QFont own = font();
    own.setPixelSize(pixels);
    setFont(own);
    repaint();
}

void ColourLabel::setBold(bool bold)
{
    QFont own = font();
    own.setWeight(bold ? QFont::Bold : QFont::Normal);
    setFont(own);
    repaint();
}

} // namespace orvalin
