#pragma once

#include <QDir>
#include <QObject>
#include <QString>

#include <string>

class QTcpServer;
class QTcpSocket;

namespace orvalin {

class DocumentOpener;

// Serves one folder over HTTP to this computer alone, for pages that load
// the web player: browsers start its WebAssembly only from a web server.
// It listens on the loopback address, at a free port, from the first page
// served until the program ends. Only GET and HEAD of regular files inside
// the folder are answered; nothing else in the file system is reachable,
// and no folder is ever listed.
class LocalPageServer final : public QObject {
    Q_OBJECT

public:
    explicit LocalPageServer(QObject* parent = nullptr);

    // The address of a file of the folder, which from now on is the one
    // served; empty when the server cannot listen.
    QString addressOf(const QString& folder, const QString& fileName);

    quint16 port() const;

private:
    void answer(QTcpSocket* socket);
    void respond(QTcpSocket* socket, const QByteArray& method, const QByteArray& target);

    QTcpServer* server_;
    QDir root_;
};

// Opens a page a run or the preview made, with the desktop's browser: the
// file itself, or its address on the local server when it loads the player.
bool launchPage(const std::string& folder, const std::string& fileName, bool loadsWebPlayer,
                LocalPageServer& server, DocumentOpener& opener);

} // namespace orvalin
