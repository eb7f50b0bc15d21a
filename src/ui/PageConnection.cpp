#include "ui/PageConnection.h"

#include "ui/RequestHead.h"
#include "ui/ServedPages.h"

#include <QFileInfo>
#include <QTcpSocket>

#include <utility>

namespace orvalin {
namespace {

// A file is read and queued this much at a time, and only while less than
// twice this waits to be sent.
constexpr qint64 kChunk = 64 * 1024;

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

} // namespace

PageConnection::PageConnection(QTcpSocket* socket, const ServedPages& pages, quint16 port,
                               const PageServerLimits& limits, QObject* parent)
    : QObject(parent),
      socket_(socket),
      pages_(pages),
      hosts_{"127.0.0.1:" + QByteArray::number(port), "localhost:" + QByteArray::number(port)},
      limits_(limits)
{
    socket_->setParent(this);
    // Nothing beyond a head is ever read, so no client can make it grow.
    socket_->setReadBufferSize(kMaxRequestHead + 1);
    connect(socket_, &QTcpSocket::readyRead, this, &PageConnection::readHead);
    connect(socket_, &QTcpSocket::bytesWritten, this, &PageConnection::sendMore);
    connect(socket_, &QTcpSocket::disconnected, this, &PageConnection::finish);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, &PageConnection::close);
    deadline_.start(limits_.headTime);
}

void PageConnection::close()
{
    socket_->abort();
    finish();
}

void PageConnection::readHead()
{
    if (answered_)
        return;
    emit active();
    const QByteArray received = socket_->peek(kMaxRequestHead + 1);
    const auto length = requestHeadLength(received);
    if (!length && received.size() <= kMaxRequestHead)
        return;
    answered_ = true;
    deadline_.start(limits_.idleTime);
    if (!length || *length > kMaxRequestHead)
        refuse("431 Request Header Fields Too Large");
    else
        answer(parseRequestHead(received.first(*length)));
}

void PageConnection::answer(const RequestHead& request)
{
    if (!request.wellFormed) {
        refuse("400 Bad Request");
        return;
    }
    const bool head = request.method == "HEAD";
    if (request.method != "GET" && !head) {
        refuse("405 Method Not Allowed");
        return;
    }
    // Another name for this computer is how a page elsewhere would reach in
    // through the visitor's browser, by making its own name lead here.
    if (request.host != hosts_[0] && request.host != hosts_[1]) {
        refuse("421 Misdirected Request", !head);
        return;
    }
    const auto path = pages_.fileAt(request.path);
    if (path)
        file_.setFileName(*path);
    if (!path || !file_.open(QIODevice::ReadOnly)) {
        refuse("404 Not Found", !head);
        return;
    }
    sendHead("200 OK", contentType(*path), file_.size());
    unsent_ = head ? 0 : file_.size();
    sendMore();
}

void PageConnection::sendHead(const QByteArray& status, const QByteArray& type, qint64 length)
{
    QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(length) +
                      "\r\nCache-Control: no-store"
                      "\r\nReferrer-Policy: no-referrer"
                      "\r\nX-Content-Type-Options: nosniff"
                      "\r\nConnection: close\r\n";
    if (status.startsWith("405"))
        head += "Allow: GET, HEAD\r\n";
    socket_->write(head + "\r\n");
}

void PageConnection::refuse(const QByteArray& status, bool withBody)
{
    const QByteArray body = status + "\n";
    sendHead(status, "text/plain", body.size());
    if (withBody)
        socket_->write(body);
    socket_->disconnectFromHost();
}

void PageConnection::sendMore()
{
    if (!answered_ || finished_)
        return;
    emit active();
    deadline_.start(limits_.idleTime);
    while (unsent_ > 0 && socket_->bytesToWrite() < 2 * kChunk) {
        chunk_.resize(std::min(unsent_, kChunk));
        const qint64 read = file_.read(chunk_.data(), chunk_.size());
        if (read <= 0) { // the file shrank or failed: the client sees a short answer
            close();
            return;
        }
        socket_->write(chunk_.constData(), read);
        unsent_ -= read;
    }
    if (unsent_ == 0 && socket_->state() == QAbstractSocket::ConnectedState)
        socket_->disconnectFromHost();
}

void PageConnection::finish()
{
    if (finished_)
        return;
    finished_ = true;
    deadline_.stop();
    file_.close();
    emit finished();
}

} // namespace orvalin
