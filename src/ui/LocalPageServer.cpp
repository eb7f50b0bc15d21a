#include "ui/LocalPageServer.h"

#include "platform/DocumentOpener.h"
#include "ui/PageListener.h"
#include "web/WebPlayer.h"

#include <QFileInfo>
#include <QUrl>

namespace orvalin {

LocalPageServer::LocalPageServer(const PageServerLimits& limits) : limits_(limits)
{
    thread_.setObjectName(QStringLiteral("page server"));
}

LocalPageServer::~LocalPageServer()
{
    thread_.quit();
    thread_.wait();
}

bool LocalPageServer::start()
{
    if (port_ != 0)
        return true;
    if (!listener_) {
        listener_ = new PageListener(pages_, limits_);
        listener_->moveToThread(&thread_);
        QObject::connect(&thread_, &QThread::finished, listener_, &QObject::deleteLater);
        thread_.start();
    }
    QMetaObject::invokeMethod(listener_, &PageListener::listen, Qt::BlockingQueuedConnection, &port_);
    return port_ != 0;
}

QString LocalPageServer::addressOf(const ServedPage& page)
{
    if (!start())
        return {};
    QStringList files{QString::fromStdString(page.page)};
    for (const std::string& name : page.loads)
        files.append(QString::fromStdString(name));
    const QByteArray token = pages_.add(QString::fromStdString(page.folder), files);
    return QStringLiteral("http://127.0.0.1:%1/%2/%3")
        .arg(port_)
        .arg(QString::fromLatin1(token), QString::fromUtf8(QUrl::toPercentEncoding(files.front(), "/")));
}

bool launchPage(ServedPage page, bool loadsWebPlayer, const std::string& programFolder, LocalPageServer& server,
                DocumentOpener& opener)
{
    const std::string path = page.folder + page.page;
    if (!loadsWebPlayer)
        return opener.openDocument(path);
    if (!QFileInfo(QString::fromStdString(path)).isFile())
        return false;
    for (std::string& file : webPlayerFiles(programFolder))
        page.loads.push_back(std::move(file));
    const QString address = server.addressOf(page);
    return !address.isEmpty() && opener.openAddress(address.toStdString());
}

} // namespace orvalin
