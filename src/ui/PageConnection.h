#pragma once

#include <QFile>
#include <QObject>
#include <QTimer>

#include <chrono>

class QTcpSocket;

namespace orvalin {

class ServedPages;
struct RequestHead;

// How long a client may take, and how many may be served at once, before
// they give way to others.
struct PageServerLimits {
    int connections = 64;
    std::chrono::milliseconds headTime{10'000}; // to send a whole request head
    std::chrono::milliseconds idleTime{30'000}; // to take more of an answer
};

// One client of the page server: reads its request head, answers it, and
// sends a file in chunks as the client takes them, so that memory stays
// bounded whatever the file's size. Gives up on a client too slow with its
// head or its answer. Lives on the server's thread.
class PageConnection final : public QObject {
    Q_OBJECT

public:
    PageConnection(QTcpSocket* socket, const ServedPages& pages, quint16 port, const PageServerLimits& limits,
                   QObject* parent);

    // Drops the client at once.
    void close();

signals:
    // The client sent or took something.
    void active();
    // The connection is over; the object may go.
    void finished();

private:
    void readHead();
    void answer(const RequestHead& request);
    void sendHead(const QByteArray& status, const QByteArray& type, qint64 length);
    void refuse(const QByteArray& status, bool withBody = true);
    void sendMore();
    void finish();

    QTcpSocket* socket_;
    const ServedPages& pages_;
    const QByteArray hosts_[2]; // the Host values of this server's own addresses
    const PageServerLimits limits_;
    QTimer deadline_;
    QFile file_;
    QByteArray chunk_;
    qint64 unsent_ = 0; // bytes of the file still to send
    bool answered_ = false;
    bool finished_ = false;
};

} // namespace orvalin
