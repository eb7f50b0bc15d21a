#include "ui/ControllersTab.h"

#include "platform/Folders.h"
#include "settings/ConversionSettings.h"
#include "web/ControllerCatalogue.h"

#include <QListWidget>

namespace orvalin {

ControllersTab::ControllersTab(ConversionSettings& workingSettings, const std::string& programFolder,
                               QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    controllerList_ = new QListWidget(this);
    controllerList_->setAccessibleName(QStringLiteral("Controllers"));
    units().place(*controllerList_, 15, 13, 130, 80);
    fillControllerList(programFolder);
    // Selection, not the current item: the list makes its first entry current
    // when it merely takes the focus.
    connect(controllerList_, &QListWidget::itemSelectionChanged, this, [this] {
        const auto selected = controllerList_->selectedItems();
        if (!selected.isEmpty())
            workingSettings_.controllerName = selected.front()->text().toStdString();
    });
}

void ControllersTab::fillControllerList(const std::string& programFolder)
{
    const std::vector<std::string> names =
        listControllers(programFolder + "Controllers" + kPathSeparator);
    for (const std::string& name : names)
        controllerList_->addItem(QString::fromStdString(name));
    if (const auto entry = findControllerEntry(names, workingSettings_.controllerName))
        controllerList_->setCurrentRow(static_cast<int>(*entry));
}

} // namespace orvalin
