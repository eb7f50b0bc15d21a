#pragma once

#include "ui/OptionsPage.h"

class QLineEdit;
class QPushButton;

namespace orvalin {

class SystemDialogs;

// Where the outputs go (the desktop or a chosen folder) and the number of the
// next output.
class OutputTab final : public OptionsPage {
    Q_OBJECT

public:
    static constexpr const char* kBrowseTitle = "Orvalin - Select An Output Folder";

    OutputTab(ConversionSettings& workingSettings, SystemDialogs& systemDialogs,
              QWidget* parent = nullptr);

private:
    void setToDesktop(bool toDesktop);
    void browseFolder();

    SystemDialogs& systemDialogs_;
    QLineEdit* folderBox_;
    QPushButton* browseButton_;
};

} // namespace orvalin
