#pragma once

#include "ui/OptionsPage.h"

#include <string>

class QListWidget;

namespace orvalin {

class ControllerSketch;
class DocumentOpener;
class MessageBoxes;

// The installed controllers, one entry per Controllers/*.swf; the selection
// becomes the working copy's controller name. Preview writes a page that
// shows them all at work and opens it in the browser.
class ControllersTab final : public OptionsPage {
    Q_OBJECT

public:
    ControllersTab(ConversionSettings& workingSettings, const std::string& programFolder,
                   MessageBoxes& messages, DocumentOpener& opener, QWidget* parent = nullptr);

    void generatePreview();

private:
    void fillControllerList();
    void showController();

    std::string controllersFolder_;
    MessageBoxes& messages_;
    DocumentOpener& opener_;
    QListWidget* controllerList_;
    ControllerSketch* sketch_;
};

} // namespace orvalin
