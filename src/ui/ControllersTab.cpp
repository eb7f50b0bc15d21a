#include "ui/ControllersTab.h"

#include "platform/Folders.h"
#include "settings/ConversionSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

#include <algorithm>

namespace orvalin {

QStringList controllerNames(const QString& controllersFolder)
{
    QStringList names;
    const QDir folder(controllersFolder);
    const auto files = folder.entryInfoList({QStringLiteral("*.swf")}, QDir::Files);
    for (const QFileInfo& file : files) {
        const QString name = file.completeBaseName();
        if (name.compare(QLatin1String("preview"), Qt::CaseInsensitive) != 0)
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& left, const QString& right) {
        return left.compare(right, Qt::CaseInsensitive) < 0;
    });
    return names;
}

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
    const QString folder = QString::fromStdString(programFolder + "Controllers" + kPathSeparator);
    controllerList_->addItems(controllerNames(folder));
    const QString chosen = QString::fromStdString(workingSettings_.controllerName);
    const auto matches = controllerList_->findItems(chosen, Qt::MatchFixedString);
    if (!matches.isEmpty())
        controllerList_->setCurrentItem(matches.front());
}

} // namespace orvalin
