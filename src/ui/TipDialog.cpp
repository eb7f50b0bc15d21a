#include "ui/TipDialog.h"

#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "ui/ColourLabel.h"
#include "ui/DialogSetUp.h"
#include "ui/SvgPicture.h"
#include "ui/TipFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>

namespace orvalin {

TipDialog::TipDialog(ConversionSettings& settings, ParametersFile& parameters,
                     const std::string& programFolder, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      settings_(settings),
      parameters_(parameters),
      tipsPath_(programFolder + kTipsFileName)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Orvalin - Tip of the day"), 249, 166);
    addDialogTitle(*this, units, QStringLiteral("Orvalin - Tip of the day"), 11, 7, 222, 14);

    // The tip area is drawn in the tooltip colours, whatever the dialog uses.
    const QPalette system = QApplication::palette();
    const auto inTipColours = [&](ColourLabel& label) {
        label.setBackgroundColour(system.color(QPalette::ToolTipBase));
        label.setTextColour(system.color(QPalette::ToolTipText));
    };

    auto* frame = new ColourLabel(QString(), this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    inTipColours(*frame);
    units.place(*frame, 6, 22, 184, 127);

    auto* icon = new ColourLabel(QString(), this);
    inTipColours(*icon);
    units.place(*icon, 10, 26, 20, 20);
    icon->setPixmap(renderSvg(QString::fromStdString(programFolder + "tip.svg"), icon->size(),
                              icon->devicePixelRatioF()));

    auto* heading = new ColourLabel(QStringLiteral("Did you know..."), this);
    inTipColours(*heading);
    units.place(*heading, 39, 33, 69, 8);

    tipText_ = new ColourLabel(QString(), this);
    inTipColours(*tipText_);
    tipText_->setAccessibleName(QStringLiteral("Tip"));
    tipText_->setWordWrap(true);
    tipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipText_->setTextFormat(Qt::PlainText);
    units.place(*tipText_, 10, 49, 176, 96);

    auto* nextButton = new QPushButton(QStringLiteral("&Next Tip"), this);
    auto* previousButton = new QPushButton(QStringLiteral("&Previous Tip"), this);
    auto* okButton = new QPushButton(QStringLiteral("&OK"), this);
    units.place(*nextButton, 193, 65, 50, 14);
    units.place(*previousButton, 193, 85, 50, 14);
    units.place(*okButton, 193, 148, 50, 14);
    okButton->setDefault(true);

    startupBox_ = new QCheckBox(QStringLiteral("&Show tips at startup"), this);
    units.place(*startupBox_, 9, 152, 84, 8);

    connect(nextButton, &QPushButton::clicked, this,
            [this] { moveTo(stepTipRequest(settings_.tipNumber, 1)); });
    connect(previousButton, &QPushButton::clicked, this,
            [this] { moveTo(stepTipRequest(settings_.tipNumber, -1)); });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    moveTo(stepTipRequest(settings_.tipNumber, 1));
    startupBox_->setChecked(settings_.showTipsAtStartup);
    connect(startupBox_, &QCheckBox::clicked, this, &TipDialog::setShowAtStartup);
}

void TipDialog::moveTo(int request)
{
    const TipChoice tip = selectTip(tipsPath_, request);
    settings_.tipNumber = tip.number;
    parameters_.saveParameters();
    tipText_->setText(QString::fromStdString(tip.text));
}

void TipDialog::setShowAtStartup(bool show)
{
    settings_.showTipsAtStartup = show;
    parameters_.saveParameters();
}

} // namespace orvalin
