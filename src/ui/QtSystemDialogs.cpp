#include "ui/QtSystemDialogs.h"

#include <QColorDialog>
#include <QFileDialog>

namespace orvalin {

std::optional<QString> QtSystemDialogs::chooseInputFile(QWidget* owner)
{
    const QString path = QFileDialog::getOpenFileName(owner);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtSystemDialogs::browseFolder(QWidget* owner, const QString& title,
                                                     const QString& startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(owner, title, startFolder);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QColor> QtSystemDialogs::chooseColour(QWidget* owner)
{
    const QColor colour = QColorDialog::getColor(QColor(1, 0, 0), owner);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

} // namespace orvalin
