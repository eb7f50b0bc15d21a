#pragma once

#include "ui/OptionsPage.h"

#include <string>

class QListWidget;

namespace orvalin {

// The installed controllers, one entry per Controllers/*.swf; the selection
// becomes the working copy's controller name.
class ControllersTab final : public OptionsPage {
    Q_OBJECT

public:
    ControllersTab(ConversionSettings& workingSettings, const std::string& programFolder,
                   QWidget* parent = nullptr);

private:
    void fillControllerList(const std::string& programFolder);

    QListWidget* controllerList_;
};

} // namespace orvalin
