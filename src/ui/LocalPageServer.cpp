#include "ui/LocalPageServer.h"

#include "platform/DocumentOpener.h"

#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <utility>

namespace orvalin {
namespace {

// A request's head past this size is no request of a browser's.
constexpr qsizetype kMaxRequestHead = 16 * 1024;

QByteArray contentType(const QString& fileName)
{
    static constexpr std::pair<const char*, const char*> kTypes[] = {
        {"htm", "text/html"},         {"html", "text/html"},
        {"swf", "application/x-shockwave-flash"}, {"js", "text/javascript"},
        {"wasm", "application/wasm"}, {"css", "text/css"},
        {"svg", "image/svg+xml"},     {"png", "image/png"},
        {"txt", "text/plain"},        {"", "text/plain"}, // the player's licences
    };
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (const auto& [ending, type] : kTypes)
        if (suffix == QLatin1String(ending))
            return type;
    return "application/octet-stream";
}

void send(QTcpSocket* socket, const QByteArray& status, const QByteArray& type, const QByteArray& body,
          bool withBody)
{
    QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nCache-Control: no-store\r\nConnection: close\r\n";
    if (status.startsWith("405"))
        head += "Allow: GET, HEAD\r\n";
    socket->write(head + "\r\n");
    if (withBody)
        socket->write(body);
    socket->disconnectFromHost();
}

void refuse(QTcpSocket* socket, const QByteArray& status, bool withBody = true)
{
    send(socket, status, "text/plain", status + "\n", withBody);
}

// The file a request's path names inside the root. Empty, with outside set,
// when the path reaches outside the root by any spelling or link; empty
// alone when there is no such file.
QString fileInside(const QDir& root, const QByteArray& target, bool& outside)
{
    const qsizetype query = target.indexOf('?');
    const QByteArray path = QByteArray::fromPercentEncoding(query < 0 ? target : target.first(query));
    outside = !path.startsWith('/') || path.contains('\0') || path.contains('\\');
    for (const QByteArray& segment : path.split('/'))
        outside = outside || segment == "." || segment == "..";
    const QFileInfo file(root.path() + QString::fromUtf8(path));
    if (outside || !file.exists())
        return {};
    const QString canonical = file.canonicalFilePath();
    const QString rootPath = root.canonicalPath();
    outside = canonical.isEmpty() || rootPath.isEmpty() || !canonical.startsWith(rootPath + u'/');
    return outside ? QString() : canonical;
}

} // namespace

LocalPageServer::LocalPageServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this))
{
    connect(server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LocalPageServer::addressOf(const QString& folder, const QString& fileName)
{
    if (!server_->isListening() && !server_->listen(QHostAddress::LocalHost))
        return {};
    root_ = QDir(folder);
    return QStringLiteral("http://127.0.0.1:%1/%2")
        .arg(server_->serverPort())
        .arg(QString::fromUtf8(QUrl::toPercentEncoding(fileName)));
}

quint16 LocalPageServer::port() const
{
    return server_->serverPort();
}

void LocalPageServer::answer(QTcpSocket* socket)
{
    if (socket->property("answered").toBool())
        return;
    const QByteArray received = socket->peek(kMaxRequestHead + 1);
    const qsizetype headEnd = received.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (received.size() > kMaxRequestHead) {
            socket->setProperty("answered", true);
            refuse(socket, "431 Request Header Fields Too Large");
        }
        return;
    }
    socket->setProperty("answered", true);
    const QList<QByteArray> requestLine = received.left(received.indexOf("\r\n")).split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1.")) {
        refuse(socket, "400 Bad Request");
        return;
    }
    respond(socket, requestLine[0], requestLine[1]);
}

void LocalPageServer::respond(QTcpSocket* socket, const QByteArray& method, const QByteArray& target)
{
    const bool head = method == "HEAD";
    if (method != "GET" && !head) {
        refuse(socket, "405 Method Not Allowed");
        return;
    }
    bool outside = false;
    const QString path = fileInside(root_, target, outside);
    if (outside) {
        refuse(socket, "403 Forbidden", !head);
        return;
    }
    QFile file(path);
    if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        refuse(socket, "404 Not Found", !head);
        return;
    }
    send(socket, "200 OK", contentType(path), file.readAll(), !head);
}

bool launchPage(const std::string& folder, const std::string& fileName, bool loadsWebPlayer,
                LocalPageServer& server, DocumentOpener& opener)
{
    if (!loadsWebPlayer)
        return opener.openDocument(folder + fileName);
    if (!QFileInfo(QString::fromStdString(folder + fileName)).isFile())
        return false;
    const QString address = server.addressOf(QString::fromStdString(folder), QString::fromStdString(fileName));
    return !address.isEmpty() && opener.openAddress(address.toStdString());
}

} // namespace orvalin
