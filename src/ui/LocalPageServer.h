#pragma once

#include "ui/PageConnection.h"
#include "ui/ServedPages.h"

#include <QString>
#include <QThread>

#include <string>
#include <vector>

namespace orvalin {

class DocumentOpener;
class PageListener;

// A page to open, and the files beside it that it loads, by their names
// relative to its folder.
struct ServedPage {
    std::string folder; // ends in the separator
    std::string page;
    std::vector<std::string> loads;
};

// Serves pages over HTTP to this computer's browser alone, for pages that
// load the web player: browsers start its WebAssembly only from a web server.
// It listens on the loopback address, at a free port, from the first page
// opened until the program ends, and answers on a thread of its own. Each
// page opened is served under a token of its own, with its own files and
// nothing else of its folder; pages opened earlier stay served.
class LocalPageServer {
public:
    explicit LocalPageServer(const PageServerLimits& limits = {});
    ~LocalPageServer();
    LocalPageServer(const LocalPageServer&) = delete;
    LocalPageServer& operator=(const LocalPageServer&) = delete;

    // The page's address; empty when the server cannot listen.
    QString addressOf(const ServedPage& page);

    quint16 port() const { return port_; }

private:
    bool start();

    const PageServerLimits limits_;
    ServedPages pages_;
    QThread thread_;
    PageListener* listener_ = nullptr; // lives on thread_
    quint16 port_ = 0;
};

// Opens a page a run or the preview made with the desktop's browser: the file
// itself, or, when it loads the web player, its address on the local server,
// which then serves the player that programFolder ships beside it too.
bool launchPage(ServedPage page, bool loadsWebPlayer, const std::string& programFolder, LocalPageServer& server,
                DocumentOpener& opener);

} // namespace orvalin
