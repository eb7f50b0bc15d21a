#include "ui/ControllersTab.h"

#include "common/ProgramContext.h"
#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "settings/ConversionSettings.h"
#include "ui/BusyNotice.h"
#include "ui/ControllerSketch.h"
#include "ui/DesktopServices.h"
#include "ui/LocalPageServer.h"
#include "web/ControllerCatalogue.h"
#include "web/ControllerPreview.h"
#include "web/WebPlayer.h"

#include <QListWidget>
#include <QPushButton>

namespace orvalin {

ControllersTab::ControllersTab(ConversionSettings& workingSettings, const DesktopServices& services,
                               QWidget* parent)
    : OptionsPage(workingSettings, parent),
      context_(services.context),
      messages_(services.messages),
      opener_(services.opener),
      pageServer_(services.pageServer)
{
    controllerList_ = new QListWidget(this);
    controllerList_->setAccessibleName(QStringLiteral("Controllers"));
    units().place(*controllerList_, 15, 13, 130, 80);

    sketch_ = new ControllerSketch(controllerFolders(context_), this);
    units().place(*sketch_, 157, 20, 82, 51);

    auto* previewButton = new QPushButton(QStringLiteral("&Preview All"), this);
    units().place(*previewButton, 157, 79, 82, 14);

    fillControllerList();
    // Selection, not the current item: the list makes its first entry current
    // when it merely takes the focus.
    connect(controllerList_, &QListWidget::itemSelectionChanged, this, &ControllersTab::showController);
    connect(previewButton, &QPushButton::clicked, this, &ControllersTab::generatePreview);
}

void ControllersTab::fillControllerList()
{
    const std::vector<std::string> names = listControllers(controllerFolders(context_));
    for (const std::string& name : names)
        controllerList_->addItem(QString::fromStdString(name));
    // Highlighting the stored name is no choice of the user's: the stored
    // name stays, and is what the sketch shows.
    if (const auto entry = findControllerEntry(names, workingSettings_.controllerName))
        controllerList_->setCurrentRow(static_cast<int>(*entry));
    sketch_->showController(QString::fromStdString(workingSettings_.controllerName));
}

void ControllersTab::showController()
{
    const auto selected = controllerList_->selectedItems();
    if (selected.isEmpty())
        return;
    workingSettings_.controllerName = selected.front()->text().toStdString();
    sketch_->showController(selected.front()->text());
}

void ControllersTab::generatePreview()
{
    BusyNotice notice(controllerList_);
    notice.setText(QStringLiteral("Generating preview..."));
    const WaitCursor waitCursor;

    std::vector<std::string> names;
    for (int row = 0; row < controllerList_->count(); ++row)
        names.push_back(controllerList_->item(row)->text().toStdString());
    // The colours and player choice as they stand on the other tabs,
    // confirmed or not.
    const bool webPlayer = workingSettings_.webPlayer;
    const std::string pageFolder = previewPageFolder(context_, names);
    const auto movies = writePreviewPage(controllerFolders(context_), pageFolder, names,
                                         workingSettings_.backgroundColour, workingSettings_.textColour, webPlayer,
                                         messages_);
    if (!movies)
        return;
    if (webPlayer && !placeWebPlayer(context_.programFolder, pageFolder, messages_))
        return;
    if (!launchPage({pageFolder, kPreviewPageName, *movies}, webPlayer, context_.programFolder, pageServer_, opener_))
        messages_.warn("Error: Could not launch the web page with the default browser.");
}

} // namespace orvalin
