#include "ui/ServedPages.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QRandomGenerator>

#include <array>

namespace orvalin {
namespace {

// 128 bits from the system's random source.
QByteArray newToken()
{
    std::array<quint32, 4> bits;
    QRandomGenerator::system()->fillRange(bits.data(), bits.size());
    return QByteArray(reinterpret_cast<const char*>(bits.data()), sizeof bits).toHex();
}

} // namespace

QByteArray ServedPages::add(const QString& folder, const QStringList& files)
{
    const Page page{QDir(folder).canonicalPath(), files};
    const QMutexLocker locked(&mutex_);
    for (const auto& [token, served] : pages_)
        if (served.folder == page.folder && served.files == page.files)
            return token;
    QByteArray token = newToken();
    pages_.emplace(token, page);
    return token;
}

std::optional<QString> ServedPages::fileAt(const QByteArray& path) const
{
    const qsizetype nameStart = path.indexOf('/', 1);
    if (!path.startsWith('/') || nameStart < 0)
        return std::nullopt;
    const QString name = QString::fromUtf8(path.mid(nameStart + 1));
    QString folder;
    {
        const QMutexLocker locked(&mutex_);
        const auto page = pages_.find(path.mid(1, nameStart - 1));
        if (page == pages_.end() || !page->second.files.contains(name))
            return std::nullopt;
        folder = page->second.folder;
    }
    // A name of the page's that has since become a link out of its folder,
    // or a folder, is not the page's file any more.
    const QFileInfo file(folder + u'/' + name);
    const QString canonical = file.canonicalFilePath();
    if (folder.isEmpty() || !file.isFile() || !canonical.startsWith(folder + u'/'))
        return std::nullopt;
    return canonical;
}

} // namespace orvalin
