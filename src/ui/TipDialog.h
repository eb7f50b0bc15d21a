#pragma once

#include <QDialog>

#include <string>

class QCheckBox;

namespace orvalin {

struct ConversionSettings;
class ColourLabel;
class ParametersFile;

// Shows one tip from the tips file at a time, pages forwards and backwards
// with wrap-around, and switches the tips at start-up on or off. Each opening
// shows the tip after the one shown last; the position and the switch are
// saved at once, in the live settings.
class TipDialog final : public QDialog {
    Q_OBJECT

public:
    TipDialog(ConversionSettings& settings, ParametersFile& parameters,
              const std::string& programFolder, QWidget* parent = nullptr);

private:
    void moveTo(int request);
    void setShowAtStartup(bool show);

    ConversionSettings& settings_;
    ParametersFile& parameters_;
    std::string tipsPath_;
    ColourLabel* tipText_;
    QCheckBox* startupBox_;
};

} // namespace orvalin
