#include "ui/QtDocumentOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace orvalin {

bool QtDocumentOpener::openDocument(const std::string& path)
{
    const QString file = QString::fromStdString(path);
    // The desktop launcher reports success as soon as it starts, even for a
    // file that is not there, so a missing file is caught here.
    if (!QFileInfo(file).isFile())
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

bool QtDocumentOpener::openAddress(const std::string& address)
{
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

} // namespace orvalin
