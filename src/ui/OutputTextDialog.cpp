#include "ui/OutputTextDialog.h"

#include "common/ConversionInput.h"
#include "ui/DialogSetUp.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace orvalin {

OutputTextDialog::OutputTextDialog(ConversionInput& input, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      input_(input)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Orvalin - Output Text"), 262, 54);
    addDialogTitle(*this, units, QStringLiteral("Orvalin - Output Text"), 4, 4, 211, 13);

    textBox_ = new QLineEdit(QString::fromStdString(input.outputText), this);
    textBox_->setAccessibleName(QStringLiteral("Output text"));
    textBox_->setMaxLength(std::numeric_limits<int>::max()); // the page takes any length
    units.place(*textBox_, 4, 20, 253, 11);

    auto* okButton = new QPushButton(QStringLiteral("&OK"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    units.place(*okButton, 153, 35, 50, 14);
    units.place(*cancelButton, 207, 35, 50, 14);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    textBox_->setFocus();
}

void OutputTextDialog::accept()
{
    input_.outputText = textBox_->text().toStdString();
    QDialog::accept();
}


} // namespace orvalin
