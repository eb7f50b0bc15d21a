#include "ui/OptionsDialog.h"

#include "common/ProgramContext.h"
#include "platform/MessageBoxes.h"
#include "settings/ParametersFile.h"
#include "settings/SettingsRules.h"
#include "ui/BareTab.h"
#include "ui/ColoursTab.h"
#include "ui/CompressionTab.h"
#include "ui/ControllersTab.h"
#include "ui/DialogSetUp.h"
#include "ui/HelpPage.h"
#include "ui/InstructionsTab.h"
#include "ui/OutputTab.h"
#include "ui/PageTabControl.h"
#include "ui/TipDialog.h"

#include <QPushButton>

namespace orvalin {

OptionsDialog::OptionsDialog(const DesktopServices& services, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      services_(services),
      workingSettings_(services.settings)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Orvalin - Options"), 272, 175);
    addDialogTitle(*this, units, QStringLiteral("Orvalin - Options"), 4, 4, 190, 14);

    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    units.place(*helpButton, 217, 4, 50, 14);

    auto* tabs = new PageTabControl(this);
    units.place(*tabs, 5, 26, 261, 127);
    SystemDialogs& systemDialogs = services_.systemDialogs;
    tabs->addPage(QStringLiteral("Output"), new OutputTab(workingSettings_, systemDialogs));
    tabs->addPage(QStringLiteral("Bare"), new BareTab(workingSettings_));
    tabs->addPage(QStringLiteral("Controller"),
                  new ControllersTab(workingSettings_, services_));
    tabs->addPage(QStringLiteral("Instructions"), new InstructionsTab(workingSettings_));
    tabs->addPage(QStringLiteral("Colours"), new ColoursTab(workingSettings_, systemDialogs));
    tabs->addPage(QStringLiteral("Compression"), new CompressionTab(workingSettings_));
    tabs->setCurrentIndex(0);

    auto* tipButton = new QPushButton(QStringLiteral("&Tip of the day"), this);
    auto* okButton = new QPushButton(QStringLiteral("&OK"), this);
    auto* cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    units.place(*tipButton, 5, 157, 66, 14);
    units.place(*okButton, 162, 157, 50, 14);
    units.place(*cancelButton, 217, 157, 50, 14);
    okButton->setDefault(true);

    connect(helpButton, &QPushButton::clicked, this, [this] {
        launchHelp(services_.context.programFolder, services_.opener, services_.messages);
    });
    connect(tipButton, &QPushButton::clicked, this, &OptionsDialog::showTipOfTheDay);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void OptionsDialog::accept()
{
    const std::string refusal =
        compressionRuleMessage(workingSettings_.sampleRate, workingSettings_.bitrate);
    if (!refusal.empty()) {
        services_.messages.warn(refusal);
        return;
    }
    workingSettings_.instructionLetter = normaliseInstructionLetter(workingSettings_.instructionLetter);
    services_.settings = workingSettings_;
    services_.parameters.saveParameters();
    QDialog::accept();
}

void OptionsDialog::showTipOfTheDay()
{
    const int numberBefore = services_.settings.nextOutputNumber;
    TipDialog tips(services_.settings, services_.parameters, services_.context.programFolder, this);
    tips.exec();
    // The tip dialog saved these in the live settings; a later OK must not
    // undo them. Its saves also took up the output numbers other runs used
    // meanwhile, which OK must not turn back unless the user typed another.
    workingSettings_.tipNumber = services_.settings.tipNumber;
    workingSettings_.showTipsAtStartup = services_.settings.showTipsAtStartup;
    if (workingSettings_.nextOutputNumber == numberBefore)
        workingSettings_.nextOutputNumber = services_.settings.nextOutputNumber;
}

} // namespace orvalin
