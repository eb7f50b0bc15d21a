#pragma once

#include "ui/OptionsPage.h"

#include <string>

class QLineEdit;
class QRadioButton;

namespace orvalin {

// The instruction letter handed to the controller: one of four standard
// ones, or a special letter typed in.
class InstructionsTab final : public OptionsPage {
    Q_OBJECT

public:
    explicit InstructionsTab(ConversionSettings& workingSettings, QWidget* parent = nullptr);

private:
    class Rows;

    bool addStandardChoices(Rows& rows, const std::string& current);
    const QRadioButton& addSpecialChoice(Rows& rows, bool chosen);
    void addLetterBox(Rows& rows, const QRadioButton& special, const std::string& current, bool enabled);

    QLineEdit* letterBox_;
};

} // namespace orvalin
