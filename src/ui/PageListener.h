#pragma once

#include "ui/PageConnection.h"

#include <QList>
#include <QObject>

class QTcpServer;

namespace orvalin {

class ServedPages;

// Takes the page server's connections, on a thread of its own so that no
// client can hold up the windows. At most limits.connections are open at
// once: beyond that, the one idle longest gives way, so that a new visitor is
// answered at once however many others keep theirs open.
class PageListener final : public QObject {
    Q_OBJECT

public:
    PageListener(const ServedPages& pages, const PageServerLimits& limits);

    // Starts listening on the loopback address at a free port; 0 when it
    // cannot.
    quint16 listen();

private:
    void acceptWaiting();
    void makeRoom();
    void resumeAfterAcceptError();

    const ServedPages& pages_;
    const PageServerLimits limits_;
    QTcpServer* server_;
    QList<PageConnection*> open_; // the one idle longest first
};

} // namespace orvalin
