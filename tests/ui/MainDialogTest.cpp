#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/HelpPage.h"
#include "ui/MainDialog.h"
#include "ui/OutputTextDialog.h"
#include "ui/TipDialog.h"
#include "ui/WorkingDialog.h"

#include <QLineEdit>
#include <QMimeData>
#include <QtTest>

using namespace orvalin;
using namespace orvalin::test;

class MainDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        fixture = std::make_unique<DesktopFixture>();
        driver = std::make_unique<ModalDriver>();
        window = std::make_unique<MainDialog>(fixture->services());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        savedParameters = fixture->parametersText();
    }

    void cleanup()
    {
        driver.reset();
        window.reset();
        fixture.reset();
    }

    void opensWithTitleVersionAndFocusInTheInputField()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Orvalin"));
        QVERIFY(findLabel(*window, QStringLiteral("Version 2.00")));
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(QApplication::focusWidget(), &inputField());
    }

    void goWithAnEmptyFieldOnlyWarns()
    {
        countOutputTextDialogs();
        goButton().click();
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        const ShownMessage& message = fixture->messages.shown.front();
        QCOMPARE(message.text, std::string("Error: Please select an input MP3 or WAV file first."));
        QVERIFY(message.icon == MessageIcon::Warning);
        QVERIFY(message.owner == MessageOwner::MainWindow);
        QCOMPARE(outputTextDialogs, 0);
    }

    void goStopsAtAFailedInputCheck_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::newRow("star") << "so*ng.mp3" << QByteArray("x") << "Error: Wild card \"*\" not allowed in file name \"%1\".";
        QTest::newRow("question mark") << "so?ng.mp3" << QByteArray("x") << "Error: Wild card \"?\" not allowed in file name \"%1\".";
        QTest::newRow("extension") << "song.mp3.txt" << QByteArray("x")
                                   << "Error: Input file name \"%1\" must end in \".mp3\" or \".wav\".";
        QTest::newRow("missing") << "" << QByteArray() << "Error: Input file not found \"%1\".";
        QTest::newRow("empty") << "empty.wav" << QByteArray() << "Error: Input file contains no data \"%1\".";
        // A title frame that claims more text than the file holds.
        const QByteArray cutShort = QByteArray("ID3\x03\x00\x00\x00\x00\x00\x64TIT2\x00\x00\x00\x32", 18) +
                                    QByteArray(3, '\0') + QByteArray("abc");
        QTest::newRow("tag cut short") << "cut.mp3" << cutShort
                                       << "Error: End of input file reached before end of expected data.";
    }

    void goStopsAtAFailedInputCheck()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const std::string path = name.isEmpty() ? fixture->folder.file("gone.mp3")
                                                : fixture->folder.file(name.toStdString());
        if (!name.isEmpty())
            writeText(path, content.toStdString());
        countOutputTextDialogs();

        inputField().setText(QString::fromStdString(path));
        goButton().click();

        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(fixture->messages.shown.front().text),
                 QString(message).replace(QStringLiteral("%1"), QString::fromStdString(path)));
        QVERIFY(fixture->messages.shown.front().owner == MessageOwner::MainWindow);
        QVERIFY(fixture->context.goCancelled);
        QCOMPARE(outputTextDialogs, 0);
        QVERIFY(fixture->stages.ran.empty());
    }

    // Cancel, and Esc too, call the run off before anything is written.
    void cancellingTheOutputTextStartsNoRun_data()
    {
        QTest::addColumn<bool>("withEscape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Esc") << true;
    }

    void cancellingTheOutputTextStartsNoRun()
    {
        QFETCH(bool, withEscape);
        inputField().setText(QString::fromStdString(fixture->makeInput("song.mp3")));
        QString proposed;
        driver->on<OutputTextDialog>([&](OutputTextDialog& dialog) {
            proposed = findNamed<QLineEdit>(dialog, QStringLiteral("Output text"))->text();
            if (withEscape)
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                findButton(dialog, QStringLiteral("&Cancel"))->click();
            return true;
        });
        countWorkingDialogs();
        goButton().click();

        QCOMPARE(proposed, QStringLiteral("song"));
        QVERIFY(fixture->context.goCancelled);
        QCOMPARE(fixture->context.outputText, std::string("song"));
        QCOMPARE(workingDialogs, 0);
        QVERIFY(fixture->stages.ran.empty());
        QCOMPARE(fixture->settings.nextOutputNumber, 7);
        QCOMPARE(fixture->parametersText(), savedParameters);
        QVERIFY(!fileExists(fixture->outputFolder() + "orvaln7.htm"));
    }

    void goRunsTheConversionWithTheEditedText()
    {
        inputField().setText(QString::fromStdString(fixture->makeInput("take.WAV")));
        driver->on<OutputTextDialog>([](OutputTextDialog& dialog) {
            auto* text = findNamed<QLineEdit>(dialog, QStringLiteral("Output text"));
            text->selectAll();
            QTest::keyClicks(text, QStringLiteral("Live <at> the Hall & more"));
            QTest::keyClick(text, Qt::Key_Return);
            return true;
        });
        bool sawTheRunFinish = false;
        driver->on<WorkingDialog>([&](WorkingDialog& dialog) {
            QAbstractButton* ok = findButton(dialog, QStringLiteral("&OK"));
            if (!ok->isVisible())
                return false;
            sawTheRunFinish = findLabel(dialog, QStringLiteral("Finished Successfully!"))->isVisible();
            ok->click();
            return true;
        });
        goButton().click();

        QVERIFY(sawTheRunFinish);
        QVERIFY(fixture->context.inputIsWav);
        QVERIFY(!fixture->context.goCancelled);
        QCOMPARE(fixture->context.outputText, std::string("Live <at> the Hall & more"));
        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"encode", "animation"}));
        QVERIFY(fileExists(fixture->outputFolder() + "orvaln7.htm"));
        QCOMPARE(parseParameters(fixture->parametersText()).nextOutputNumber, 8);
        QVERIFY(fixture->messages.shown.empty());
    }

    // A pasted text of any length reaches the page whole.
    void aHugeOutputTextIsKeptWhole()
    {
        inputField().setText(QString::fromStdString(fixture->makeInput("take.WAV")));
        const QString huge = QStringLiteral("Tom & Jerry <live> ").repeated(6000).left(100000);
        driver->on<OutputTextDialog>([&](OutputTextDialog& dialog) {
            auto* text = findNamed<QLineEdit>(dialog, QStringLiteral("Output text"));
            text->selectAll();
            text->insert(huge);
            QTest::keyClick(text, Qt::Key_Return);
            return true;
        });
        driver->on<WorkingDialog>([](WorkingDialog& dialog) {
            QAbstractButton* ok = findButton(dialog, QStringLiteral("&OK"));
            if (!ok->isVisible())
                return false;
            ok->click();
            return true;
        });
        goButton().click();

        QCOMPARE(fixture->context.outputText, huge.toStdString());
        QVERIFY(readText(fixture->outputFolder() + "orvaln7.htm").size() > 200000);
    }

    void browsePutsTheChosenFileInTheField()
    {
        fixture->systemDialogs.inputFile = QStringLiteral("/music/one.mp3");
        findButton(*window, QStringLiteral("&Browse"))->click();
        QCOMPARE(inputField().text(), QStringLiteral("/music/one.mp3"));
        QCOMPARE(fixture->systemDialogs.owners.back(), window.get());

        fixture->systemDialogs.inputFile.reset();
        findButton(*window, QStringLiteral("&Browse"))->click();
        QCOMPARE(inputField().text(), QStringLiteral("/music/one.mp3"));
    }

    void droppingAFilePutsItsPathInTheField()
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/music/dropped song.wav"))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        QCOMPARE(inputField().text(), QStringLiteral("/music/dropped song.wav"));

        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/song.mp3"))});
        QDragEnterEvent remote(QPoint(10, 10), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        remote.setAccepted(false);
        QApplication::sendEvent(window.get(), &remote);
        QVERIFY(!remote.isAccepted());
    }

    void helpOpensThePageOrWarns()
    {
        QAbstractButton* help = findButton(*window, QStringLiteral("&Help"));
        help->click();
        QCOMPARE(fixture->opener.opened,
                 (std::vector<std::string>{helpPagePath(fixture->context.programFolder)}));
        QVERIFY(fixture->messages.shown.empty());

        fixture->opener.succeed = false;
        help->click();
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        QCOMPARE(fixture->messages.shown.front().text, std::string("Error: Could not launch help file."));
        QVERIFY(fixture->messages.shown.front().owner == MessageOwner::MainWindow);
    }

    void tipOfTheDayOpensAtStartOnlyWhenAsked()
    {
        writeText(fixture->folder.file("tips.da0"), "First tip\r\nSecond tip\r\n");
        for (const bool wanted : {false, true}) {
            fixture->settings.showTipsAtStartup = wanted;
            fixture->settings.tipNumber = 0;
            QString shown;
            driver->on<TipDialog>([&](TipDialog& dialog) {
                shown = findNamed<QLabel>(dialog, QStringLiteral("Tip"))->text();
                dialog.accept();
                return true;
            });
            MainDialog fresh(fixture->services());
            fresh.show();
            QTest::qWait(100);
            QCOMPARE(shown.isEmpty(), !wanted);
            if (wanted) {
                QCOMPARE(shown, QStringLiteral("First tip"));
                QCOMPARE(parseParameters(fixture->parametersText()).tipNumber, 1);
            }
        }
    }

    void exitClosesTheWindow()
    {
        findButton(*window, QStringLiteral("E&xit"))->click();
        QVERIFY(!window->isVisible());
    }

private:
    QLineEdit& inputField() { return *findNamed<QLineEdit>(*window, QStringLiteral("MP3 or WAV file name")); }
    QAbstractButton& goButton() { return *findButton(*window, QStringLiteral("&Go")); }

    // Counts the dialogs of a kind that open, closing them so that the test
    // cannot hang on one it did not expect.
    void countOutputTextDialogs()
    {
        outputTextDialogs = 0;
        driver->on<OutputTextDialog>([this](OutputTextDialog& dialog) {
            ++outputTextDialogs;
            dialog.reject();
            return true;
        });
    }

    void countWorkingDialogs()
    {
        workingDialogs = 0;
        driver->on<WorkingDialog>([this](WorkingDialog& dialog) {
            ++workingDialogs;
            dialog.hide();
            return true;
        });
    }

    std::unique_ptr<DesktopFixture> fixture;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<MainDialog> window;
    std::string savedParameters;
    int outputTextDialogs = 0;
    int workingDialogs = 0;
};

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
