#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace orvalin {

// The pages the page server has been asked to open, each under a token of
// its own: the first segment of its files' addresses, which nobody can guess.
// Only the files a page was opened with are ever answered, never the rest of
// its folder. Pages are added from the windows' thread and looked up from the
// server's.
class ServedPages {
public:
    // The token the page's files are served under; the same page opened again
    // keeps its token.
    QByteArray add(const QString& folder, const QStringList& files);

    // The file of an opened page that a request's decoded path names
    // ("/<token>/<name>"); nothing for any other path, or when the file has
    // become something other than a regular file inside the page's folder.
    std::optional<QString> fileAt(const QByteArray& path) const;

private:
    struct Page {
        QString folder; // canonical, without a trailing separator
        QStringList files;
    };

    mutable QMutex mutex_;
    std::map<QByteArray, Page> pages_; // by token
};

} // namespace orvalin
