#pragma once

#include "ui/OptionsPage.h"

class QListWidget;

namespace orvalin {

class ControllerSketch;
class DocumentOpener;
class LocalPageServer;
class MessageBoxes;
struct DesktopServices;
struct ProgramContext;

// The installed controllers, one entry per Controllers/*.swf of the program
// and of the user; the selection becomes the working copy's controller name.
// Preview writes a page that shows them all at work and opens it in the
// browser.
class ControllersTab final : public OptionsPage {
    Q_OBJECT

public:
    ControllersTab(ConversionSettings& workingSettings, const DesktopServices& services,
                   QWidget* parent = nullptr);

    void generatePreview();

private:
    void fillControllerList();
    void showController();

    const ProgramContext& context_;
    MessageBoxes& messages_;
    DocumentOpener& opener_;
    LocalPageServer& pageServer_;
    QListWidget* controllerList_;
    ControllerSketch* sketch_;
};

} // namespace orvalin
