#include "ui/DialogGroupBox.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

namespace orvalin {

DialogGroupBox::DialogGroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
}

void DialogGroupBox::paintEvent(QPaintEvent*)
{
    // The style draws the title; the frame is an outline of our own.
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    QStyleOptionGroupBox titleOnly = option;
    titleOnly.subControls &= ~QStyle::SC_GroupBoxFrame;
    painter.drawComplexControl(QStyle::CC_GroupBox, titleOnly);

    // The line runs between the title and the contents, where the style
    // would have drawn its frame.
    const QRect title = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    const QRect contents =
        style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, this);
    QRectF frame = rect();
    frame.setTop((title.bottom() + contents.top()) / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Window).darker(140));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
}

} // namespace orvalin
