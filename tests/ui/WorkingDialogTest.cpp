#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/WorkingDialog.h"

#include <QTcpSocket>

#include <filesystem>

using namespace orvalin;
using namespace orvalin::test;

class WorkingDialogTest : public QObject {
    Q_OBJECT

    std::optional<DesktopFixture> f;
    std::optional<WorkingDialog> dialog;

    QAbstractButton& button(const QString& caption) { return test::button(*dialog, caption); }
    // Shows a Working dialog as the main window does and waits for the end of its run.
    bool run()
    {
        dialog.emplace(f->services());
        dialog->show();
        return QTest::qWaitFor([this] { return button("&OK").isVisible(); }, 10000);
    }
    // What the dialog shows below its progress bar: result lines, outcome and buttons.
    QStringList screen() const
    {
        QStringList texts;
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->isVisible() && !label->text().isEmpty())
                texts << label->text();
        }
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isVisible())
                texts << button->text();
        }
        return texts.mid(2);
    }

private slots:
    void init()
    {
        f.emplace();
        f->input.inputPath = f->makeInput("song.mp3");
        std::filesystem::create_directories(f->folder.file("Controllers"));
        writeText(f->folder.file("Controllers/demo04200150.swf"), "controller");
    }
    void cleanup() { dialog.reset(); f.reset(); }

    // The bar gives each stage a quarter; the run lasts a single start.
    void aRunShowsItsProgressAndTheFilesMade()
    {
        QStringList whileRunning;
        f->stages.onStep = [&](const std::string& stage) {
            whileRunning = screen();
            if (stage == "encode" && f->status.stagePercent == 50)
                QTRY_COMPARE_WITH_TIMEOUT(named<QProgressBar>(*dialog, "Progress").value(), 62, 5000);
        };
        QVERIFY(run());
        QCOMPARE(whileRunning, QStringList{"&Cancel"});
        QCOMPARE(named<QProgressBar>(*dialog, "Progress").value(), 100);
        QCOMPARE(screen(), (QStringList{"Created web page \"orvaln7.htm\"",
                                        "Created Flash streaming animation \"orvaln7s.swf\"",
                                        "Created Flash controller animation \"orvaln7c.swf\"", "Finished Successfully!",
                                        "&Launch Output", "&OK"}));
        button("&Launch Output").click();
        f->opener.succeed = false;
        button("&Launch Output").click();
        QCOMPARE(f->opener.opened, std::vector<std::string>(2, f->output("orvaln7.htm")));
        QCOMPARE(f->runMessages.shown.size(), 1u);
        QCOMPARE(f->runMessages.shown[0].text, "Error: Could not launch the web page with the default browser.");
        // A page that loads the web player opens through the local server.
        f->opener.succeed = true;
        f->settings.webPlayer = true;
        button("&Launch Output").click();
        const QUrl address(QString::fromStdString(f->opener.opened.back()));
        QCOMPARE(address.authority(), QStringLiteral("127.0.0.1:%1").arg(f->pageServer.port()));
        QVERIFY(address.path().endsWith("/orvaln7.htm"));
        QTcpSocket browser;
        browser.connectToHost(QHostAddress::LocalHost, f->pageServer.port());
        browser.write("GET " + address.path().toUtf8() + " HTTP/1.1\r\nHost: " + address.authority().toUtf8() +
                      "\r\n\r\n");
        QByteArray answer;
        QVERIFY(QTest::qWaitFor([&] { return (answer += browser.readAll()).endsWith("</html>\r\n"); }, 5000));
        QVERIFY(answer.endsWith("\r\n\r\n" + QByteArray::fromStdString(readText(f->output("orvaln7.htm")))));
        // A page that has gone since is not opened through the server either.
        std::filesystem::remove(f->output("orvaln7.htm"));
        button("&Launch Output").click();
        QCOMPARE(f->runMessages.shown.size(), 2u);
        button("&OK").click();
        QVERIFY(!dialog->isVisible());
        dialog->show();
        QTest::qWait(50);
        QCOMPARE(f->stages.ran, (std::vector<std::string>{"decode", "encode", "animation"}));
    }

    // Only a run for a controller names a controller animation.
    void bareAndFailedRunsShowTheirOutcome()
    {
        f->settings.outputMode = OutputMode::BareLooping;
        QVERIFY(run());
        QCOMPARE(screen(), (QStringList{"Created web page \"orvaln7.htm\"",
                                        "Created Flash streaming animation \"orvaln7s.swf\"", "Finished Successfully!",
                                        "&Launch Output", "&OK"}));
        f->stages.failingStage = "encode";
        QVERIFY(run());
        QCOMPARE(screen(), (QStringList{"Failed", "&OK"}));
        // The failure is shown over the main window, not on its own.
        QCOMPARE(f->messages.shown.size(), 1u);
        QCOMPARE(f->messages.shown[0].text, "Error: Cannot encode in LAME encoder.");
        QVERIFY(f->runMessages.shown.empty());
    }

    // Cancel, Esc and the close command stop the run, yet the dialog stays
    // up until the user has seen the outcome.
    void cancelStopsTheRunButNotTheDialog()
    {
        for (const bool escape : {false, true}) {
            bool stayedUp = true;
            f->stages.ran.clear();
            f->stages.onStep = [&](const std::string&) {
                if (escape) {
                    QTest::keyClick(&*dialog, Qt::Key_Escape);
                    dialog->close();
                } else {
                    button("&Cancel").click();
                }
                stayedUp = stayedUp && dialog->isVisible();
            };
            QVERIFY(run());
            QVERIFY(stayedUp);
            QCOMPARE(f->stages.ran, std::vector<std::string>{"decode"});
            QCOMPARE(screen(), (QStringList{"Cancelled", "&OK"}));
            QTest::keyClick(&*dialog, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        }
    }
};

QTEST_MAIN(WorkingDialogTest)
#include "WorkingDialogTest.moc"
