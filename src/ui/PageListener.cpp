#include "ui/PageListener.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace orvalin {
namespace {

// After the system refused a connection (out of descriptors, say), the next
// try waits this long rather than spinning.
constexpr int kAcceptRetryMs = 100;
constexpr int kBacklog = 1024;

} // namespace

PageListener::PageListener(const ServedPages& pages, const PageServerLimits& limits)
    : pages_(pages), limits_(limits), server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, &PageListener::acceptWaiting);
    connect(server_, &QTcpServer::acceptError, this, &PageListener::resumeAfterAcceptError);
}

quint16 PageListener::listen()
{
    // Room for a burst of connections to wait until they are taken, rather
    // than be dropped and tried again a second later.
    server_->setListenBacklogSize(kBacklog);
    return server_->listen(QHostAddress::LocalHost) ? server_->serverPort() : 0;
}

void PageListener::acceptWaiting()
{
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        makeRoom();
        auto* connection = new PageConnection(socket, pages_, server_->serverPort(), limits_, this);
        open_.append(connection);
        connect(connection, &PageConnection::active, this, [this, connection] {
            open_.move(open_.indexOf(connection), open_.size() - 1);
        });
        connect(connection, &PageConnection::finished, this, [this, connection] {
            open_.removeOne(connection);
            connection->deleteLater();
        });
    }
}

void PageListener::makeRoom()
{
    while (open_.size() >= limits_.connections)
        open_.takeFirst()->close();
}

// The server stops taking connections after an error; it takes them again
// once one has given way.
void PageListener::resumeAfterAcceptError()
{
    if (!open_.isEmpty())
        open_.takeFirst()->close();
    QTimer::singleShot(kAcceptRetryMs, server_, &QTcpServer::resumeAccepting);
}

} // namespace orvalin
