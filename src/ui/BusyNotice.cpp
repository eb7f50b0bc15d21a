#include "ui/BusyNotice.h"

#include "ui/DialogSetUp.h"

#include <QApplication>
#include <QLabel>

namespace orvalin {

BusyNotice::BusyNotice(QWidget* centreOn)
    : QDialog(centreOn ? centreOn->window() : nullptr, kDialogFlags)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Working..."), 186, 21);
    text_ = new QLabel(this);
    text_->setAlignment(Qt::AlignCenter);
    units.place(*text_, 4, 6, 176, 8);
    if (centreOn)
        move(centreOn->mapToGlobal(centreOn->rect().center()) - rect().center());
    show();
}

void BusyNotice::setText(const QString& text)
{
    text_->setText(text);
    repaint();
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}

} // namespace orvalin
