#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "TestAudio.h"
#include "job/DefaultStageRunner.h"
#include "ui/WorkingDialog.h"

#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <filesystem>

using namespace orvalin;
using namespace orvalin::test;

namespace {

// A Working dialog over the fixture, shown as the main window shows it.
struct WorkingRun {
    explicit WorkingRun(DesktopFixture& fixture)
        : dialog(fixture.services().jobEnvironment(), fixture.stages, fixture.opener)
    {
    }

    QProgressBar& bar() { return *findNamed<QProgressBar>(dialog, QStringLiteral("Progress")); }
    QAbstractButton& button(const char* caption) { return *findButton(dialog, QString::fromLatin1(caption)); }
    bool shows(const char* text) { return findLabel(dialog, QString::fromLatin1(text))->isVisible(); }
    QString resultLine(const char* start)
    {
        QLabel* line = findLabel(dialog, QString::fromLatin1(start));
        return line ? line->text() : QString();
    }
    bool filledResultLines()
    {
        return !resultLine("Created").isEmpty();
    }

    // Shows the dialog and waits until its run is over.
    bool runToEnd()
    {
        dialog.show();
        return QTest::qWaitFor([this] { return button("&OK").isVisible(); }, 10000);
    }

    WorkingDialog dialog;
};

} // namespace

class WorkingDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        fixture = std::make_unique<DesktopFixture>();
        fixture->context.inputPath = fixture->makeInput("song.mp3");
        fixture->context.inputIsWav = false;
        std::filesystem::create_directories(fixture->folder.path() + "Controllers");
        writeText(fixture->folder.file("Controllers/demo04200150.swf"), "controller");
    }

    void cleanup() { fixture.reset(); }

    void successShowsTheFilesMadeAndAdvancesTheNumber()
    {
        WorkingRun run(*fixture);
        QCOMPARE(run.dialog.windowTitle(), QStringLiteral("Orvalin - Working"));
        QVERIFY(!run.button("&Cancel").isHidden());
        QVERIFY(run.button("&OK").isHidden());
        QVERIFY(run.button("&Launch Output").isHidden());
        QVERIFY(run.runToEnd());

        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"decode", "encode", "animation"}));
        QCOMPARE(run.bar().value(), 100);
        QVERIFY(run.shows("Finished Successfully!"));
        QVERIFY(!run.shows("Failed"));
        QVERIFY(!run.shows("Cancelled"));
        QVERIFY(run.button("&Launch Output").isVisible());
        QVERIFY(!run.button("&Cancel").isVisible());
        QCOMPARE(run.resultLine("Created web page"), QStringLiteral("Created web page \"orvaln7.htm\""));
        QCOMPARE(run.resultLine("Created Flash streaming"),
                 QStringLiteral("Created Flash streaming animation \"orvaln7s.swf\""));
        QCOMPARE(run.resultLine("Created Flash controller"),
                 QStringLiteral("Created Flash controller animation \"orvaln7c.swf\""));

        const std::string out = fixture->outputFolder();
        QVERIFY(fileExists(out + "orvaln7s.swf"));
        QVERIFY(fileExists(out + "orvaln7.htm"));
        QCOMPARE(readText(out + "orvaln7c.swf"), std::string("controller"));
        QVERIFY(!fileExists(out + "orvaln7.tmp2"));
        QVERIFY(!fileExists(out + "orvaln7.tmp3"));
        QCOMPARE(fixture->settings.nextOutputNumber, 8);
        QCOMPARE(parseParameters(fixture->parametersText()).nextOutputNumber, 8);
        QVERIFY(fixture->messages.shown.empty());
    }

    void bareOutputNamesNoControllerAnimation()
    {
        fixture->settings.outputMode = kBareLoopingOutput;
        WorkingRun run(*fixture);
        QVERIFY(run.runToEnd());
        QVERIFY(run.shows("Finished Successfully!"));
        QVERIFY(!run.resultLine("Created web page").isEmpty());
        QVERIFY(!run.resultLine("Created Flash streaming").isEmpty());
        QVERIFY(run.resultLine("Created Flash controller").isEmpty());
        QVERIFY(!fileExists(fixture->outputFolder() + "orvaln7c.swf"));
    }

    // The bar spans a quarter per stage; a WAV skips decoding and so starts
    // at half, and it never goes back or past 100. The bar moves on a timer,
    // so a step may still see it at 0.
    void barMovesByStageAndStartsAtHalfForWav()
    {
        fixture->context.inputPath = fixture->makeInput("take.wav");
        fixture->context.inputIsWav = true;
        fixture->stages.steps = 25;
        WorkingRun run(*fixture);
        std::vector<std::pair<std::string, int>> seen;
        fixture->stages.onStep = [&](const std::string& stage) {
            seen.emplace_back(stage, run.bar().value());
        };
        QVERIFY(run.runToEnd());

        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"encode", "animation"}));
        int last = 0;
        for (const auto& [stage, value] : seen) {
            QVERIFY2(value >= last, "the bar went back");
            QVERIFY(value <= 100);
            last = value;
            if (stage == "encode") {
                QVERIFY2(value == 0 || value >= 50, "a WAV run shows less than half while encoding");
                QVERIFY(value <= 75);
            } else {
                QVERIFY(value == 0 || value >= 50);
            }
        }
        QCOMPARE(run.bar().value(), 100);
    }

    void cancelDuringEncodingEndsTheRunCancelled()
    {
        WorkingRun run(*fixture);
        fixture->stages.onStep = [&](const std::string& stage) {
            if (stage == "encode" && run.button("&Cancel").isVisible())
                run.button("&Cancel").click();
        };
        QVERIFY(run.runToEnd());

        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"decode", "encode"}));
        QVERIFY(run.shows("Cancelled"));
        QVERIFY(!run.shows("Failed"));
        QVERIFY(!run.shows("Finished Successfully!"));
        QVERIFY(!run.button("&Launch Output").isVisible());
        QVERIFY(!run.filledResultLines());
        const std::string out = fixture->outputFolder();
        QVERIFY(!fileExists(out + "orvaln7s.swf"));
        QVERIFY(!fileExists(out + "orvaln7.htm"));
        QVERIFY(!fileExists(out + "orvaln7.tmp2"));
        QVERIFY(!fileExists(out + "orvaln7.tmp3"));
        QVERIFY(fixture->messages.shown.empty());
        QCOMPARE(parseParameters(fixture->parametersText()).nextOutputNumber, 8);
    }

    // Esc and the close command stop the run, yet the dialog stays up until
    // the user has seen the outcome.
    void escapeAndCloseDuringTheRunActAsCancel()
    {
        WorkingRun run(*fixture);
        bool stayedOpen = true;
        fixture->stages.onStep = [&](const std::string& stage) {
            if (stage != "decode")
                return;
            QTest::keyClick(&run.dialog, Qt::Key_Escape);
            run.dialog.close();
            stayedOpen = stayedOpen && run.dialog.isVisible();
        };
        QVERIFY(run.runToEnd());
        QVERIFY(stayedOpen);
        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"decode"}));
        QVERIFY(run.shows("Cancelled"));
        QVERIFY(run.dialog.isVisible());

        QTest::keyClick(&run.dialog, Qt::Key_Escape);
        QVERIFY(!run.dialog.isVisible());
    }

    void stageFailureIsShownOnceAndEndsTheRun()
    {
        fixture->stages.failingStage = "encode";
        fixture->stages.failureText = "The encoder refused the sample rate.";
        WorkingRun run(*fixture);
        QVERIFY(run.runToEnd());

        QCOMPARE(fixture->stages.ran, (std::vector<std::string>{"decode", "encode"}));
        QVERIFY(run.shows("Failed"));
        QVERIFY(!run.shows("Cancelled"));
        QVERIFY(!run.filledResultLines());
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        const ShownMessage& message = fixture->messages.shown.front();
        QCOMPARE(message.text, std::string("Error: The encoder refused the sample rate."));
        QVERIFY(message.icon == MessageIcon::Warning);
        QVERIFY(message.owner == MessageOwner::MainWindow);
        QCOMPARE(fixture->settings.nextOutputNumber, 8);
    }

    void overwriteAnsweredNoTouchesNothing()
    {
        const std::string page = fixture->outputFolder() + "orvaln7.htm";
        writeText(page, "an older page");
        WorkingRun run(*fixture);
        QVERIFY(run.runToEnd());

        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        const ShownMessage& question = fixture->messages.shown.front();
        QCOMPARE(question.text, "Is it OK to overwrite this file:\n" + page);
        QVERIFY(question.icon == MessageIcon::Question);
        QVERIFY(question.buttons == MessageButtons::YesNo);
        QVERIFY(question.owner == MessageOwner::None);
        QVERIFY(fixture->stages.ran.empty());
        QVERIFY(run.shows("Cancelled"));
        QVERIFY(run.button("&OK").isVisible());
        QVERIFY(!run.filledResultLines());
        QCOMPARE(readText(page), std::string("an older page"));
        QCOMPARE(parseParameters(fixture->parametersText()).nextOutputNumber, 8);
    }

    void launchOutputOpensThePageOrSaysItCannot()
    {
        WorkingRun run(*fixture);
        QVERIFY(run.runToEnd());
        run.button("&Launch Output").click();
        QCOMPARE(fixture->opener.opened,
                 (std::vector<std::string>{fixture->outputFolder() + "orvaln7.htm"}));
        QVERIFY(fixture->messages.shown.empty());

        fixture->opener.succeed = false;
        run.button("&Launch Output").click();
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        QCOMPARE(fixture->messages.shown.front().text,
                 std::string("Error: Could not launch the web page with the default browser."));
        QVERIFY(fixture->messages.shown.front().owner == MessageOwner::None);
        QVERIFY(run.dialog.isVisible());
    }

    void okClosesTheDialogAndTheRunNeverRestarts()
    {
        WorkingRun run(*fixture);
        QVERIFY(run.runToEnd());
        run.button("&OK").click();
        QVERIFY(!run.dialog.isVisible());
        run.dialog.show();
        QTest::qWait(50);
        QCOMPARE(fixture->stages.ran.size(), std::size_t(3));
        QCOMPARE(fixture->settings.nextOutputNumber, 8);
    }

    // The dialog with the real encoder and animation writer: the run keeps
    // the dialog alive through the pump and ends with real files.
    void aWavRunsThroughTheRealStages()
    {
        fixture->settings.outputMode = kBareOnceOutput;
        fixture->context.inputPath = fixture->folder.file("tone.wav");
        fixture->context.inputIsWav = true;
        TestTone tone;
        tone.seconds = 3.0;
        writeWav(fixture->context.inputPath, tone);
        DefaultStageRunner stages(fixture->status, fixture->pump, ORVALIN_PROGRAM_FOLDER);
        WorkingDialog dialog(fixture->services().jobEnvironment(), stages, fixture->opener);
        int ticksSeen = 0;
        auto* bar = findNamed<QProgressBar>(dialog, QStringLiteral("Progress"));
        connect(bar, &QProgressBar::valueChanged, this, [&] { ++ticksSeen; });
        dialog.show();
        QVERIFY(QTest::qWaitFor([&] { return findButton(dialog, QStringLiteral("&OK"))->isVisible(); }, 60000));

        QVERIFY2(fixture->messages.shown.empty(),
                 fixture->messages.shown.empty() ? "" : fixture->messages.shown.front().text.c_str());
        QVERIFY(findLabel(dialog, QStringLiteral("Finished Successfully!"))->isVisible());
        QCOMPARE(bar->value(), 100);
        QVERIFY(ticksSeen >= 1);
        const std::string animation = readText(fixture->outputFolder() + "orvaln7s.swf");
        QVERIFY(animation.size() > 1000);
        QCOMPARE(animation.substr(0, 3), std::string("FWS"));
        QVERIFY(fileExists(fixture->outputFolder() + "orvaln7.htm"));
        QVERIFY(!fileExists(fixture->outputFolder() + "orvaln7.tmp3"));
    }

private:
    std::unique_ptr<DesktopFixture> fixture;
};

QTEST_MAIN(WorkingDialogTest)
#include "WorkingDialogTest.moc"
