// The page server as a browser, another user of the computer and a page
// elsewhere in the user's browser would use it.
#include "TestFolder.h"
#include "ui/LocalPageServer.h"

#include <QNetworkInterface>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QtTest>

#include <filesystem>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace orvalin;

namespace {

// The whole answer to a raw request, with a bound on the wait.
QByteArray ask(quint16 port, const QByteArray& request, const QHostAddress& to = QHostAddress::LocalHost)
{
    QTcpSocket socket;
    socket.connectToHost(to, port);
    if (!socket.waitForConnected(2000))
        return "no connection";
    socket.write(request);
    QByteArray answer;
    const bool closed = QTest::qWaitFor([&] {
        answer += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
    }, 10000);
    return closed ? answer + socket.readAll() : "no answer";
}

QByteArray get(quint16 port, const QByteArray& path, const QByteArray& method = "GET")
{
    return ask(port, method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n\r\n");
}

// Connections made by hand, so that many can be held without a Qt object
// each; made all at once, as an attacker would.
class RawConnections {
public:
    RawConnections(quint16 port, int count, int flags = SOCK_NONBLOCK)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        for (int i = 0; i < count; ++i) {
            const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
            ::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address);
            polled_.push_back({descriptor, POLLOUT, 0});
        }
    }
    ~RawConnections()
    {
        for (const pollfd& connection : polled_)
            ::close(connection.fd);
    }
    RawConnections(const RawConnections&) = delete;
    RawConnections& operator=(const RawConnections&) = delete;

    // Once every connection is made, sends the bytes on each the server has
    // not closed yet.
    bool send(const QByteArray& bytes)
    {
        const bool made = waitFor(POLLOUT | POLLHUP | POLLERR, polled_.size());
        for (const pollfd& connection : polled_)
            ::send(connection.fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        return made;
    }

    // Waits until the server has closed this many of the connections.
    bool waitForServerToClose(std::size_t count) { return waitFor(POLLRDHUP | POLLHUP | POLLERR, count); }

    int first() const { return polled_.front().fd; }

private:
    bool waitFor(short events, std::size_t count)
    {
        std::vector<pollfd> pending = polled_;
        for (pollfd& connection : pending)
            connection.events = events;
        std::size_t seen = 0;
        for (QDeadlineTimer bound(20000); seen < count && !bound.hasExpired();) {
            ::poll(pending.data(), pending.size(), 100);
            seen += std::erase_if(pending, [&](const pollfd& c) { return (c.revents & events) != 0; });
        }
        return seen >= count;
    }

    std::vector<pollfd> polled_;
};

qint64 peakMemoryKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    status.open(QIODevice::ReadOnly);
    const QRegularExpressionMatch peak = QRegularExpression(R"(VmHWM:\s+(\d+))").match(status.readAll());
    return peak.captured(1).toLongLong();
}

} // namespace

class LocalPageServerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestFolder> fresh;
    test::TestFolder& folder() { return *fresh; }

    // Lays out a run's files beside the owner's own, private ones.
    void makeOutputFolder()
    {
        std::filesystem::create_directories(folder().file("out/ruffle"));
        test::writeText(folder().file("out/orvaln1.htm"), "<html>page</html>");
        test::writeText(folder().file("out/orvaln1s.swf"), "stream");
        test::writeText(folder().file("out/ruffle/ruffle.js"), "loader");
        test::writeText(folder().file("out/diary.txt"), "SECRET");
        std::filesystem::permissions(folder().file("out/diary.txt"), std::filesystem::perms::owner_read);
        test::writeText(folder().file("secret.txt"), "SECRET");
        std::filesystem::create_symlink(folder().file("secret.txt"), folder().file("out/orvaln1c.swf"));
    }

private slots:
    void init() { fresh = std::make_unique<test::TestFolder>(); }

    // Only the files the page was opened with, under its token, for this
    // computer's own browser, by an address no page elsewhere can make.
    void servesThePagesOwnFilesAloneUnderItsToken()
    {
        makeOutputFolder();
        LocalPageServer server;
        const QString address = server.addressOf(
            {folder().file("out/"), "orvaln1.htm", {"orvaln1s.swf", "orvaln1c.swf", "ruffle/ruffle.js"}});
        const quint16 port = server.port();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^http://127\\.0\\.0\\.1:%1/([0-9a-f]{32})/orvaln1\\.htm$").arg(port))
                .match(address);
        QVERIFY2(match.hasMatch(), qPrintable(address));
        const QByteArray token = "/" + match.captured(1).toLatin1();
        const QByteArray host = "Host: 127.0.0.1:" + QByteArray::number(port);

        // The request, and the start of the answer: status line and type.
        const std::pair<QByteArray, QByteArray> cases[] = {
            {"GET " + token + "/orvaln1.htm HTTP/1.1\r\n" + host + "\r\n\r\n",
             "200 OK\r\nContent-Type: text/html\r\nContent-Length: 17\r\n"},
            {"GET " + token + "/orvaln1.htm HTTP/1.1\nHost: LOCALHOST:" + QByteArray::number(port) + "\n\n", "200"},
            {"HEAD " + token + "/ruffle/ruffle%2Ejs?v=1 HTTP/1.1\r\n" + host + "\r\n\r\n",
             "200 OK\r\nContent-Type: text/javascript\r\nContent-Length: 6\r\n"},
            {"GET " + token + "/diary.txt HTTP/1.1\r\n" + host + "\r\n\r\n", "404"},
            {"GET " + token + "/%2e%2e/secret.txt HTTP/1.1\r\n" + host + "\r\n\r\n", "404"},
            {"GET " + token + "/orvaln1c.swf HTTP/1.1\r\n" + host + "\r\n\r\n", "404"}, // a link out
            {"GET " + token + "/ruffle HTTP/1.1\r\n" + host + "\r\n\r\n", "404"},
            {"GET /orvaln1.htm HTTP/1.1\r\n" + host + "\r\n\r\n", "404"},
            {"GET /0123456789abcdef0123456789abcdef/orvaln1.htm HTTP/1.1\r\n" + host + "\r\n\r\n", "404"},
            {"GET " + token + "/orvaln1.htm HTTP/1.1\r\nHost: attacker.example:" + QByteArray::number(port) +
                 "\r\n\r\n",
             "421"},
            {"GET " + token + "/orvaln1.htm HTTP/1.1\r\n\r\n", "421"},
            {"GET " + token + "/orvaln1.htm HTTP/1.1\r\n" + host + "\r\nHost: attacker.example\r\n\r\n", "400"},
            {"POST " + token + "/orvaln1.htm HTTP/1.1\r\n" + host + "\r\n\r\n", "405"},
            {"GET " + token + "/orvaln1.htm HTTP/2.0 x\r\n" + host + "\r\n\r\n", "400"},
        };
        for (const auto& [request, start] : cases) {
            const QByteArray answer = ask(port, request);
            QVERIFY2(answer.startsWith("HTTP/1.1 " + start), request.left(80) + " -> " + answer.left(60));
            QVERIFY2(!answer.contains("SECRET"), request);
        }
        QVERIFY(get(port, token + "/orvaln1.htm").endsWith("\r\n\r\n<html>page</html>"));

        for (const QHostAddress& other : QNetworkInterface::allAddresses())
            if (!other.isLoopback())
                QCOMPARE(ask(port, "GET / HTTP/1.1\r\n\r\n", other), QByteArray("no connection"));
        QCOMPARE(ask(port, "GET / HTTP/1.1\r\n\r\n", QHostAddress::LocalHostIPv6), QByteArray("no connection"));
    }

    // Launch Output, then Preview All from another folder, then the first
    // page again: both stay served, each under its own token.
    void pagesOpenedEarlierStayServed()
    {
        makeOutputFolder();
        std::filesystem::create_directories(folder().file("preview"));
        test::writeText(folder().file("preview/preview.htm"), "<html>preview</html>");
        LocalPageServer server;
        const QString output = server.addressOf({folder().file("out/"), "orvaln1.htm", {"orvaln1s.swf"}});
        const QString preview = server.addressOf({folder().file("preview/"), "preview.htm", {}});
        QVERIFY(QUrl(output).path().section('/', 1, 1) != QUrl(preview).path().section('/', 1, 1));
        QCOMPARE(server.addressOf({folder().file("out/"), "orvaln1.htm", {"orvaln1s.swf"}}), output);
        for (const auto& [address, body] : {std::pair{output, "<html>page</html>"}, {preview, "<html>preview</html>"},
                                            {output, "<html>page</html>"}})
            QVERIFY2(get(server.port(), QUrl(address).path().toUtf8()).endsWith(body), qPrintable(address));
        QVERIFY(get(server.port(), QUrl(preview).path().replace("preview.htm", "orvaln1.htm").toUtf8())
                    .startsWith("HTTP/1.1 404"));
    }

    // A client that never finishes its head is cut off.
    void slowHeadsAreCutOff()
    {
        LocalPageServer server({.headTime = std::chrono::milliseconds(100)});
        server.addressOf({folder().path(), "", {}});
        QCOMPARE(ask(server.port(), "GET / HTTP/1.1\r\n"), QByteArray());
    }

    // Another user holds 1,500 connections open on a server with the usual
    // limit of open files, then lets them go; meanwhile, and afterwards, a
    // visitor is answered at once, and a large file is sent with memory to
    // spare.
    void holdsUpAgainstIdleClientsAndLargeFiles()
    {
        constexpr int kIdleClients = 1500;
        rlimit files{};
        getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = std::max<rlim_t>(files.rlim_cur, 4096);
        files.rlim_max = std::max(files.rlim_max, files.rlim_cur);
        if (setrlimit(RLIMIT_NOFILE, &files) != 0)
            QSKIP("this test needs 4,096 open files");

        makeOutputFolder();
        constexpr qint64 kLargeFile = 512 * 1024 * 1024;
        QFile large(QString::fromStdString(folder().file("out/large.swf")));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(kLargeFile));
        large.close();

        QProcess server;
        server.setChildProcessModifier([] {
            const rlimit usual{1024, 1024};
            setrlimit(RLIMIT_NOFILE, &usual);
        });
        // Freed memory held back by the address sanitizer is no memory of ours.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":quarantine_size_mb=8");
        server.setProcessEnvironment(environment);
        server.start(ORVALIN_PAGE_SERVER, {QString::fromStdString(folder().file("out"))});
        QVERIFY(server.waitForReadyRead(10000));
        const QUrl base(QString::fromUtf8(server.readLine().trimmed()));
        const quint16 port = base.port();
        const QByteArray page = base.path().toUtf8() + "orvaln1.htm";

        {
            RawConnections idle(port, kIdleClients);
            QVERIFY(idle.send("GET "));
            QVERIFY(idle.waitForServerToClose(kIdleClients - PageServerLimits{}.connections));
            QVERIFY(get(port, page).endsWith("<html>page</html>"));
        }
        QVERIFY(get(port, page).endsWith("<html>page</html>"));

        const qint64 peakBefore = peakMemoryKb(server.processId());
        RawConnections download(port, 1, 0);
        QVERIFY(download.send("GET " + base.path().toUtf8() + "large.swf HTTP/1.1\r\nHost: 127.0.0.1:" +
                              QByteArray::number(port) + "\r\n\r\n"));
        timeval bound{10, 0};
        setsockopt(download.first(), SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        std::vector<char> buffer(1 << 20);
        qint64 received = 0;
        for (ssize_t got; (got = ::read(download.first(), buffer.data(), buffer.size())) > 0;)
            received += got;
        QVERIFY2(received > kLargeFile && received < kLargeFile + 512, qPrintable(QString::number(received)));
        const qint64 grown = peakMemoryKb(server.processId()) - peakBefore;
        QVERIFY2(grown < 64 * 1024, qPrintable(QStringLiteral("%1 kB more").arg(grown)));
        server.kill();
        server.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(LocalPageServerTest)
#include "LocalPageServerTest.moc"
