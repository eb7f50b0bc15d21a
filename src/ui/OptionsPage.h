#pragma once

#include "ui/DialogUnits.h"

#include <QWidget>

namespace orvalin {

struct ConversionSettings;

// A page of the Options dialog. It fills its controls from the dialog's
// working copy of the settings and writes every change straight back into
// it; only the dialog's OK reaches the live settings.
class OptionsPage : public QWidget {
    Q_OBJECT

public:
    explicit OptionsPage(ConversionSettings& workingSettings, QWidget* parent = nullptr);

protected:
    DialogUnits units() const { return DialogUnits(font()); }

    ConversionSettings& workingSettings_;
};

} // namespace orvalin
