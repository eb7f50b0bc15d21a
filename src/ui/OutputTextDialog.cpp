#include "ui/OutputTextDialog.h"

#include "common/ProgramContext.h"
#include "ui/ColourLabel.h"
#include "ui/DialogColours.h"
#include "ui/DialogUnits.h"

#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace orvalin {

OutputTextDialog::OutputTextDialog(ProgramContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      context_(context)
{
    setWindowTitle(QStringLiteral("Orvalin - Output Text"));
    applyDialogColours(*this);
    const DialogUnits units(font());
    setFixedSize(units.size(262, 54));

    auto* title = new ColourLabel(QStringLiteral("Orvalin - Output Text"), this);
    makeTitle(*title);
    units.place(*title, 4, 4, 211, 13);

    textBox_ = new QLineEdit(QString::fromStdString(context.outputText), this);
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
    context_.outputText = textBox_->text().toStdString();
    QDialog::accept();
}


} // namespace orvalin
