#include "ui/DialogUnits.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

namespace orvalin {
namespace {

// Windows' MulDiv: the product divided, rounded to the nearest integer.
int scaled(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}

} // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    averageWidth_ = std::max(1, (alphabetWidth / 26 + 1) / 2);
    characterHeight_ = std::max(1, metrics.height());
}

int DialogUnits::x(int units) const
{
    return scaled(units, averageWidth_, 4);
}

int DialogUnits::y(int units) const
{
    return scaled(units, characterHeight_, 8);
}

QRect DialogUnits::rect(int x, int y, int width, int height) const
{
    return {this->x(x), this->y(y), this->x(width), this->y(height)};
}

QSize DialogUnits::size(int width, int height) const
{
    return {x(width), y(height)};
}

namespace {

bool showsOneLineOfText(const QWidget& control)
{
    if (const auto* label = qobject_cast<const QLabel*>(&control))
        return !label->wordWrap() && !label->text().isEmpty();
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return !qobject_cast<const QPushButton*>(button) && !button->text().isEmpty();
    return false;
}

} // namespace

void DialogUnits::place(QWidget& control, int x, int y, int width, int height) const
{
    QRect area = rect(x, y, width, height);
    area.setHeight(std::max(area.height(), control.minimumSizeHint().height()));
    if (showsOneLineOfText(control))
        area.setWidth(std::max(area.width(), control.sizeHint().width()));
    control.setGeometry(area);
}

void DialogUnits::placeLabelBefore(QWidget& label, const QWidget& control, int x, int y,
                                   int width, int height) const
{
    place(label, x, y, width, height);
    const int gap = this->x(2);
    if (label.geometry().right() + gap >= control.x())
        label.move(control.x() - gap - label.width(), label.y());
}

} // namespace orvalin
