// The page server as a browser, and as someone probing it, would use it.
#include "TestFolder.h"
#include "ui/LocalPageServer.h"

#include <QNetworkInterface>
#include <QTcpSocket>
#include <QtTest>

#include <filesystem>

using namespace orvalin;

class LocalPageServerTest : public QObject {
    Q_OBJECT

    test::TestFolder folder;
    LocalPageServer server;

    // The whole answer to a raw request, with a bound on the wait.
    QByteArray ask(const QByteArray& request, const QHostAddress& to = QHostAddress::LocalHost)
    {
        QTcpSocket socket;
        socket.connectToHost(to, server.port());
        if (!socket.waitForConnected(2000))
            return "no connection";
        socket.write(request + " HTTP/1.1\r\nHost: x\r\n\r\n");
        QByteArray answer;
        const bool closed = QTest::qWaitFor([&] {
            answer += socket.readAll();
            return socket.state() == QAbstractSocket::UnconnectedState;
        }, 5000);
        return closed ? answer + socket.readAll() : "no answer";
    }

private slots:
    void servesTheFolderAloneOnLoopbackAlone()
    {
        std::filesystem::create_directories(folder.file("site/ruffle"));
        test::writeText(folder.file("site/orvaln1.htm"), "<html>page</html>");
        test::writeText(folder.file("site/ruffle/core.wasm"), "wasm");
        test::writeText(folder.file("secret.txt"), "SECRET");
        std::filesystem::create_symlink(folder.file("secret.txt"), folder.file("site/link.txt"));
        std::filesystem::create_symlink(folder.path(), folder.file("site/up"));
        const QString address = server.addressOf(QString::fromStdString(folder.file("site/")), "orvaln1.htm");
        QCOMPARE(address, QStringLiteral("http://127.0.0.1:%1/orvaln1.htm").arg(server.port()));

        // The request, and the start of the answer: status line and type.
        const std::pair<QByteArray, QByteArray> cases[] = {
            {"GET /orvaln1.htm", "200 OK\r\nContent-Type: text/html\r\nContent-Length: 17\r\n"},
            {"HEAD /ruffle/core%2Ewasm?v=1", "200 OK\r\nContent-Type: application/wasm\r\nContent-Length: 4\r\n"},
            {"GET /../secret.txt", "403"}, {"GET /%2e%2e/secret.txt", "403"}, {"GET /ruffle/%2E%2E/%2e%2e/secret.txt", "403"},
            {"GET /..%5csecret.txt", "403"}, {"GET /link.txt", "403"}, {"GET /up/secret.txt", "403"},
            {"GET http://127.0.0.1/orvaln1.htm", "403"}, {"GET " + QByteArray(folder.file("secret.txt").c_str()), "404"},
            {"GET /ruffle", "404"}, {"GET /ruffle/", "404"}, {"GET /missing.htm", "404"},
            {"POST /orvaln1.htm", "405"}, {"DELETE /orvaln1.htm", "405"}, {"GET /orvaln1.htm HTTP/2.0 x", "400"},
        };
        for (const auto& [request, start] : cases) {
            const QByteArray answer = ask(request);
            QVERIFY2(answer.startsWith("HTTP/1.1 " + start), request + " -> " + answer.left(60));
            QVERIFY2(!answer.contains("SECRET"), request);
            QCOMPARE(answer.endsWith("<html>page</html>"), request == "GET /orvaln1.htm");
        }

        for (const QHostAddress& other : QNetworkInterface::allAddresses())
            if (!other.isLoopback())
                QCOMPARE(ask("GET /orvaln1.htm", other), QByteArray("no connection"));
        QCOMPARE(ask("GET /orvaln1.htm", QHostAddress::LocalHostIPv6), QByteArray("no connection"));
    }
};

QTEST_GUILESS_MAIN(LocalPageServerTest)
#include "LocalPageServerTest.moc"
