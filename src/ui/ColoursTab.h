#pragma once

#include "ui/OptionsPage.h"

#include <string>

class QLineEdit;

namespace orvalin {

class ColourLabel;
class SystemDialogs;

// The page's background and text colours, typed as HTML values or picked,
// each with a swatch that follows every keystroke. Whatever text stands in
// a box is the setting: nothing is refused or corrected.
class ColoursTab final : public OptionsPage {
    Q_OBJECT

public:
    ColoursTab(ConversionSettings& workingSettings, SystemDialogs& systemDialogs,
               QWidget* parent = nullptr);

private:
    struct ColourEditor {
        QLineEdit* box;
        ColourLabel* swatch;
    };

    void addColourEditor(const QString& label, const QString& pickCaption, int y,
                         std::string& setting);
    void pickColour(const ColourEditor& editor);

    SystemDialogs& systemDialogs_;
};

} // namespace orvalin
