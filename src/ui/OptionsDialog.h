#pragma once

#include "settings/ConversionSettings.h"
#include "ui/DesktopServices.h"

#include <QDialog>

namespace orvalin {

// Edits a working copy of the settings on six tabs. OK checks the compression
// rules, normalises the instruction letter, copies the copy back and saves;
// Cancel, Esc and the window's close command drop it.
class OptionsDialog final : public QDialog {
    Q_OBJECT

public:
    OptionsDialog(const DesktopServices& services, QWidget* parent = nullptr);

    void accept() override;

private:
    void showTipOfTheDay();

    DesktopServices services_;
    ConversionSettings workingSettings_;
};

} // namespace orvalin
