#include "ui/BareTab.h"

#include "settings/ConversionSettings.h"
#include "ui/DialogGroupBox.h"

#include <QRadioButton>

namespace orvalin {

BareTab::BareTab(ConversionSettings& workingSettings, QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    const DialogUnits units = this->units();
    auto* group = new DialogGroupBox(QStringLiteral("Bare or controller output"), this);
    units.place(*group, 11, 15, 234, 60);

    struct Choice {
        const char* text;
        OutputMode outputMode;
        int y;
        int width;
        int height;
    };
    const Choice choices[] = {
        {"Output run by a &controller (see controller tab)", OutputMode::Controller, 27, 208, 12},
        {"Bare output with &looping", OutputMode::BareLooping, 41, 212, 16},
        {"Bare output, plays &once", OutputMode::BareOnce, 58, 210, 13},
    };
    // A mode the file holds but no button stands for shows no button checked
    // and is kept until the user picks one.
    for (const Choice& choice : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.text), this);
        units.place(*button, 20, choice.y, choice.width, choice.height);
        button->setChecked(workingSettings_.outputMode == choice.outputMode);
        const OutputMode mode = choice.outputMode;
        connect(button, &QRadioButton::clicked, this, [this, mode] { workingSettings_.outputMode = mode; });
    }
}

} // namespace orvalin
