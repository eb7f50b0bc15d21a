#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/MainDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/OutputTextDialog.h"
#include "ui/TipDialog.h"
#include "ui/WorkingDialog.h"

using namespace orvalin;
using namespace orvalin::test;

class MainDialogTest : public QObject {
    Q_OBJECT

    std::optional<DesktopFixture> f;
    std::optional<ModalDriver> driver;
    std::optional<MainDialog> window;
    QStringList closedUnasked;

    QLineEdit& input() { return named<QLineEdit>(*window, "MP3 or WAV file name"); }
    void click(const QString& caption) { button(*window, caption).click(); }
    // Closes a dialog of this kind when one opens, noting its title, so that
    // the test cannot hang on one it did not expect.
    template <typename Dialog>
    void closeUnasked()
    {
        driver->on<Dialog>([this](Dialog& dialog) {
            closedUnasked << dialog.windowTitle();
            dialog.reject();
            dialog.hide();
            return true;
        });
    }

private slots:
    void init()
    {
        f.emplace();
        driver.emplace();
        closedUnasked.clear();
        window.emplace(f->services());
        window->show();
    }
    void cleanup() { driver.reset(); window.reset(); f.reset(); }

    void goStopsAtAnEmptyOrFailedInput()
    {
        closeUnasked<OutputTextDialog>();
        click("&Go");
        const std::string missing = f->folder.file("gone.mp3");
        input().setText(QString::fromStdString(missing));
        click("&Go");
        QCOMPARE(f->messages.shown.size(), 2u);
        QCOMPARE(f->messages.shown[0].text, "Error: Please select an input MP3 or WAV file first.");
        QCOMPARE(f->messages.shown[1].text, "Error: Input file not found \"" + missing + "\".");
        QVERIFY(f->runMessages.shown.empty());
        QCOMPARE(closedUnasked, QStringList());
    }

    // Cancel, and Esc too, call the run off.
    void cancellingTheOutputTextStartsNoRun()
    {
        input().setText(QString::fromStdString(f->makeInput("song.mp3")));
        for (const bool escape : {false, true}) {
            driver->on<OutputTextDialog>([this, escape](OutputTextDialog& dialog) {
                closedUnasked << named<QLineEdit>(dialog, "Output text").text();
                escape ? QTest::keyClick(&dialog, Qt::Key_Escape) : button(dialog, "&Cancel").click();
                return true;
            });
            closeUnasked<WorkingDialog>();
            click("&Go");
        }
        QCOMPARE(closedUnasked, (QStringList{"song", "song"}));
        QVERIFY(f->stages.ran.empty());
    }

    // Text of any length, pasted in, reaches the run whole.
    void goRunsTheConversionWithTheEditedText()
    {
        input().setText(QString::fromStdString(f->makeInput("take.WAV")));
        const QString text = QStringLiteral("Tom & Jerry <live> ").repeated(2000);
        driver->on<OutputTextDialog>([&text](OutputTextDialog& dialog) {
            QLineEdit& box = named<QLineEdit>(dialog, "Output text");
            box.selectAll();
            box.insert(text);
            QTest::keyClick(&box, Qt::Key_Return);
            return true;
        });
        driver->on<WorkingDialog>([](WorkingDialog& dialog) {
            if (!label(dialog, "Finished Successfully!").isVisible())
                return false;
            button(dialog, "&OK").click();
            return true;
        });
        click("&Go");
        QVERIFY(f->input.inputIsWav);
        QCOMPARE(f->input.outputText, text.toStdString());
        QCOMPARE(f->stages.ran, (std::vector<std::string>{"encode", "animation"}));
    }

    void browseAndDropPutTheFileInTheField()
    {
        f->systemDialogs.inputFile = "/music/one.mp3";
        click("&Browse");
        QCOMPARE(f->systemDialogs.owners.back(), &*window);
        f->systemDialogs.inputFile.reset();
        click("&Browse");
        QCOMPARE(input().text(), "/music/one.mp3");

        // Only a local file is taken.
        for (const QUrl& url : {QUrl::fromLocalFile("/music/dropped song.wav"), QUrl("https://example.org/a.mp3")}) {
            QMimeData data;
            data.setUrls({url});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QApplication::sendEvent(&*window, &enter);
            QCOMPARE(enter.isAccepted(), url.isLocalFile());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&*window, &drop);
        }
        QCOMPARE(input().text(), "/music/dropped song.wav");
    }

    void tipOfTheDayOpensAtStartOnlyWhenAsked()
    {
        writeText(f->folder.file("tips.da0"), "First tip\r\n");
        for (const bool wanted : {false, true}) {
            f->settings.showTipsAtStartup = wanted;
            driver->on<TipDialog>([this](TipDialog& dialog) {
                closedUnasked << named<QLabel>(dialog, "Tip").text();
                dialog.accept();
                return true;
            });
            MainDialog fresh(f->services());
            fresh.show();
            QTest::qWait(100); // time enough to see a tip that should not be there
            QTRY_COMPARE(closedUnasked, wanted ? QStringList{"First tip"} : QStringList());
        }
    }

    void helpOptionsAndExitButtons()
    {
        f->opener.succeed = false;
        click("&Help");
        QCOMPARE(f->messages.shown.size(), 1u);
        QCOMPARE(f->messages.shown[0].text, "Error: Could not launch help file.");
        closeUnasked<OptionsDialog>();
        click("&Options");
        QCOMPARE(closedUnasked, QStringList{"Orvalin - Options"});
        click("E&xit");
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
