#pragma once

#include "ui/OptionsPage.h"

class QLineEdit;

namespace orvalin {

// The instruction letter handed to the controller: one of four standard
// ones, or a special letter typed in.
class InstructionsTab final : public OptionsPage {
    Q_OBJECT

public:
    explicit InstructionsTab(ConversionSettings& workingSettings, QWidget* parent = nullptr);

private:
    QLineEdit* letterBox_;
};

} // namespace orvalin
