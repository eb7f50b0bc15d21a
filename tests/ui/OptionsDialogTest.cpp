#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/BareTab.h"
#include "ui/ColourLabel.h"
#include "ui/ColoursTab.h"
#include "ui/CompressionTab.h"
#include "ui/ControllerSketch.h"
#include "ui/ControllersTab.h"
#include "ui/InstructionsTab.h"
#include "ui/OptionsDialog.h"
#include "ui/OutputTab.h"
#include "ui/PageTabControl.h"
#include "ui/TipDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>

#include <filesystem>

using namespace orvalin;
using namespace orvalin::test;

class OptionsDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        fixture = std::make_unique<DesktopFixture>();
        driver = std::make_unique<ModalDriver>();
        openDialog();
        liveBefore = fixture->settings;
        fileBefore = fixture->parametersText();
    }

    void cleanup()
    {
        driver.reset();
        dialog.reset();
        fixture.reset();
    }

    void opensOnTheOutputTabWithSixTabsInOrder()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Orvalin - Options"));
        PageTabControl& tabs = this->tabs();
        QStringList captions;
        for (int i = 0; i < tabs.count(); ++i)
            captions << tabs.tabText(i);
        QCOMPARE(captions, (QStringList{"Output", "Bare", "Controller", "Instructions", "Colours",
                                        "Compression"}));
        QCOMPARE(tabs.currentIndex(), 0);
        QVERIFY(page<OutputTab>().isVisible());
        QVERIFY(!page<CompressionTab>().isVisible());
    }

    void okCopiesTheWorkingCopyBackAndSaves()
    {
        typeInto(named<QLineEdit>("Next output file number"), QStringLiteral("42"));
        showTab(1);
        button("Bare output, plays &once").click();
        showTab(4);
        typeInto(named<QLineEdit>("Background colour"), QStringLiteral("00ff00"));
        QCOMPARE(fixture->settings, liveBefore);

        ok();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(fixture->settings.nextOutputNumber, 42);
        QCOMPARE(fixture->settings.outputMode, kBareOnceOutput);
        QCOMPARE(fixture->settings.backgroundColour, std::string("00ff00"));
        QCOMPARE(fixture->parametersText(), formatParameters(fixture->settings));
    }

    void cancelAndEscapeLeaveTheLiveSettingsAndTheFile_data()
    {
        QTest::addColumn<bool>("withEscape");
        QTest::newRow("Cancel") << false;
        QTest::newRow("Esc") << true;
    }

    void cancelAndEscapeLeaveTheLiveSettingsAndTheFile()
    {
        QFETCH(bool, withEscape);
        typeInto(named<QLineEdit>("Next output file number"), QStringLiteral("99"));
        button("To &desktop").click();
        showTab(3);
        button("F - Initially playing, plays sound once").click();
        showTab(5);
        named<QComboBox>("Channels").setCurrentIndex(0);

        if (withEscape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            button("&Cancel").click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(fixture->settings, liveBefore);
        QCOMPARE(fixture->parametersText(), fileBefore);

        openDialog();
        QCOMPARE(named<QLineEdit>("Next output file number").text(), QStringLiteral("7"));
        QVERIFY(!button("To &desktop").isChecked());
    }

    void compressionRulesRefuseOk_data()
    {
        QTest::addColumn<QString>("sampleRate");
        QTest::addColumn<QString>("bitrate");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("11025 Hz, 80 kb/s")
            << "11025 Hz" << "80 kb/s" << "Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n";
        QTest::newRow("22050 Hz, 192 kb/s")
            << "22050 Hz" << "192 kb/s" << "Sample rate 22050 Hz cannot be used with bitrates above 160 kb/s.\n";
        QTest::newRow("44100 Hz, 48 kb/s")
            << "44100 Hz" << "48 kb/s" << "Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n";
        QTest::newRow("11025 Hz, 64 kb/s") << "11025 Hz" << "64 kb/s" << "";
        QTest::newRow("22050 Hz, 160 kb/s") << "22050 Hz" << "160 kb/s" << "";
        QTest::newRow("44100 Hz, 64 kb/s") << "44100 Hz" << "64 kb/s" << "";
    }

    void compressionRulesRefuseOk()
    {
        QFETCH(QString, sampleRate);
        QFETCH(QString, bitrate);
        QFETCH(QString, refusal);
        showTab(5);
        choose(named<QComboBox>("Sample Rate"), sampleRate);
        choose(named<QComboBox>("Bitrate"), bitrate);
        ok();

        if (refusal.isEmpty()) {
            QVERIFY(fixture->messages.shown.empty());
            QVERIFY(!dialog->isVisible());
            QCOMPARE(fixture->settings.bitrate, bitrate.split(' ').front().toInt());
            return;
        }
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(fixture->messages.shown.front().text), refusal);
        QVERIFY(fixture->messages.shown.front().icon == MessageIcon::Warning);
        QVERIFY(fixture->messages.shown.front().owner == MessageOwner::MainWindow);
        QVERIFY(dialog->isVisible());
        QCOMPARE(tabs().currentIndex(), 5);
        QCOMPARE(fixture->settings, liveBefore);
        QCOMPARE(fixture->parametersText(), fileBefore);

        // The user then picks an allowed bitrate and OK goes through.
        choose(named<QComboBox>("Bitrate"), QStringLiteral("64 kb/s"));
        ok();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(fixture->settings.bitrate, 64);
        QCOMPARE(parseParameters(fixture->parametersText()).bitrate, 64);
    }

    // The rules hold for the working copy even when the tab was never shown.
    void compressionRulesApplyToValuesFromTheFile()
    {
        fixture->settings.sampleRate = 11025;
        fixture->settings.bitrate = 100;
        openDialog();
        QCOMPARE(named<QComboBox>("Bitrate").currentIndex(), -1);
        ok();
        QVERIFY(dialog->isVisible());
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
    }

    void aBitrateNoEntryStandsForIsKept()
    {
        fixture->settings.bitrate = 100;
        fixture->settings.sampleRate = 22050;
        openDialog();
        QCOMPARE(named<QComboBox>("Bitrate").currentIndex(), -1);
        ok();
        QCOMPARE(fixture->settings.bitrate, 100);
    }

    void instructionLetterIsNormalisedOnOk_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("upper-case D") << "D" << "d";
        QTest::newRow("upper-case S") << "S" << "c";
        QTest::newRow("lower-case s") << "s" << "c";
        QTest::newRow("digit") << "7" << "c";
        QTest::newRow("several") << "Zq" << "z";
        QTest::newRow("nothing typed") << "" << "c";
    }

    void instructionLetterIsNormalisedOnOk()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        showTab(3);
        button("Special (future controllers may repond to special instructions)").click();
        QLineEdit& letter = named<QLineEdit>("Special instruction letter");
        QVERIFY(letter.isEnabled());
        if (!typed.isEmpty())
            typeInto(letter, typed);
        ok();
        QCOMPARE(QString::fromStdString(fixture->settings.instructionLetter), stored);
    }

    void instructionsTabShowsTheStoredLetter()
    {
        fixture->settings.instructionLetter = "e";
        openDialog();
        QVERIFY(button("E - Initially playing, loops sound").isChecked());
        QCOMPARE(named<QLineEdit>("Special instruction letter").text(), QStringLiteral("e"));
        QVERIFY(!named<QLineEdit>("Special instruction letter").isEnabled());

        fixture->settings.instructionLetter = "C";
        openDialog();
        QVERIFY(button("Special (future controllers may repond to special instructions)").isChecked());
        QCOMPARE(named<QLineEdit>("Special instruction letter").text(), QStringLiteral("C"));
        QVERIFY(named<QLineEdit>("Special instruction letter").isEnabled());
        ok();
        QCOMPARE(fixture->settings.instructionLetter, std::string("c"));
    }

    void standardInstructionKeepsTheBoxText()
    {
        fixture->settings.instructionLetter = "x";
        openDialog();
        showTab(3);
        button("D - Initially stopped, plays sound once").click();
        QCOMPARE(named<QLineEdit>("Special instruction letter").text(), QStringLiteral("x"));
        QVERIFY(!named<QLineEdit>("Special instruction letter").isEnabled());
        ok();
        QCOMPARE(fixture->settings.instructionLetter, std::string("d"));
    }

    void outputNumberKeepsItsLastFiveDigits_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("seven digits") << "1234567" << 34567;
        QTest::newRow("five digits") << "99999" << 99999;
        QTest::newRow("leading zeros") << "007" << 7;
        QTest::newRow("cleared") << "" << 0;
        QTest::newRow("letters refused") << "12ab3" << 123;
    }

    void outputNumberKeepsItsLastFiveDigits()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        typeInto(named<QLineEdit>("Next output file number"), typed);
        ok();
        QCOMPARE(fixture->settings.nextOutputNumber, stored);
    }

    void aLongStoredNumberIsCutWhenTheTabOpens()
    {
        fixture->settings.nextOutputNumber = 123456;
        openDialog();
        ok();
        QCOMPARE(fixture->settings.nextOutputNumber, 23456);
    }

    void desktopChoiceDisablesTheFolderButKeepsIt()
    {
        fixture->settings.outputToDesktop = true;
        fixture->settings.outputFolder = "/srv/www/";
        openDialog();
        QLineEdit& folder = named<QLineEdit>("Output folder");
        QVERIFY(!folder.isEnabled());
        QVERIFY(!button("&Browse").isEnabled());
        QCOMPARE(folder.text(), QStringLiteral("/srv/www/"));

        button("To specified &folder").click();
        QVERIFY(folder.isEnabled());
        QVERIFY(button("&Browse").isEnabled());
        QCOMPARE(folder.text(), QStringLiteral("/srv/www/"));
        ok();
        QVERIFY(!fixture->settings.outputToDesktop);
        QCOMPARE(fixture->settings.outputFolder, std::string("/srv/www/"));
    }

    void browsedFolderEndsInOneSeparator_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("stored");
        QTest::newRow("folder") << "/data/songs" << "/data/songs/";
        QTest::newRow("root") << "/" << "/";
    }

    void browsedFolderEndsInOneSeparator()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, stored);
        fixture->systemDialogs.folder = chosen;
        button("&Browse").click();
        QCOMPARE(named<QLineEdit>("Output folder").text(), stored);
        QCOMPARE(fixture->systemDialogs.folderTitles.back(),
                 QStringLiteral("Orvalin - Select An Output Folder"));
        QCOMPARE(fixture->systemDialogs.owners.back(), &page<OutputTab>());
        ok();
        QCOMPARE(QString::fromStdString(fixture->settings.outputFolder), stored);
    }

    void cancelledBrowsingChangesNothing()
    {
        const QString before = named<QLineEdit>("Output folder").text();
        button("&Browse").click();
        QCOMPARE(named<QLineEdit>("Output folder").text(), before);
    }

    void bareTabChecksTheStoredModeOnly()
    {
        const auto checked = [this] {
            QStringList names;
            for (QRadioButton* radio : page<BareTab>().findChildren<QRadioButton*>())
                if (radio->isChecked())
                    names << radio->text();
            return names;
        };
        QCOMPARE(checked(), QStringList{"Output run by a &controller (see controller tab)"});

        fixture->settings.outputMode = 4;
        openDialog();
        QVERIFY(checked().isEmpty());
        ok();
        QCOMPARE(fixture->settings.outputMode, 4);

        openDialog();
        showTab(1);
        button("Bare output with &looping").click();
        ok();
        QCOMPARE(fixture->settings.outputMode, kBareLoopingOutput);
    }

    void coloursFollowEveryKeystroke()
    {
        showTab(4);
        QLineEdit& box = named<QLineEdit>("Background colour");
        ColourLabel& swatch = named<ColourLabel>("Background swatch");
        QCOMPARE(swatch.backgroundColour(), QColor(255, 255, 255));

        box.clear();
        QCOMPARE(swatch.backgroundColour(), QColor(0, 0, 0));
        QTest::keyClicks(&box, QStringLiteral("ff"));
        QCOMPARE(swatch.backgroundColour(), QColor(255, 0, 0));
        QTest::keyClicks(&box, QStringLiteral("80"));
        QCOMPARE(swatch.backgroundColour(), QColor(255, 128, 0));
        QCOMPARE(named<ColourLabel>("Text swatch").backgroundColour(), QColor(0, 0, 0));
        ok();
        QCOMPARE(fixture->settings.backgroundColour, std::string("ff80"));
    }

    void pickedColourIsWrittenInUpperCase()
    {
        showTab(4);
        fixture->systemDialogs.colour = QColor(255, 255, 255);
        button("P&ick Colour").click();
        QCOMPARE(named<QLineEdit>("Text colour").text(), QStringLiteral("FFFFFF"));
        QCOMPARE(named<ColourLabel>("Text swatch").backgroundColour(), QColor(255, 255, 255));
        QCOMPARE(fixture->systemDialogs.owners.back(), &page<ColoursTab>());

        fixture->systemDialogs.colour.reset();
        button("&Pick Colour").click();
        QCOMPARE(named<QLineEdit>("Background colour").text(), QStringLiteral("FFFFFF"));
        ok();
        QCOMPARE(fixture->settings.textColour, std::string("FFFFFF"));
        QCOMPARE(fixture->settings.backgroundColour, std::string("FFFFFF"));
    }

    void controllerListShowsTheControllersAndTakesTheChoice()
    {
        const std::string controllers = fixture->folder.path() + "Controllers/";
        std::filesystem::create_directories(controllers);
        for (const char* name : {"b04200150.swf", "A04200150.swf", "PREVIEW.swf", "Preview.SWF",
                                 "c.swf", "b04200150.txt"})
            writeText(controllers + name, "x");
        fixture->settings.controllerName = "b04200150";
        openDialog();
        showTab(2);
        QListWidget& list = named<QListWidget>("Controllers");
        QStringList names;
        for (int i = 0; i < list.count(); ++i)
            names << list.item(i)->text();
        QCOMPARE(names, (QStringList{"A04200150", "b04200150", "c"}));
        QCOMPARE(list.currentItem()->text(), QStringLiteral("b04200150"));

        list.setCurrentRow(2);
        QCOMPARE(fixture->settings.controllerName, std::string("b04200150"));
        ok();
        QCOMPARE(fixture->settings.controllerName, std::string("c"));
    }

    // The list highlights the first entry that begins with the stored name,
    // searching from the second; the stored name stays until the user picks.
    void controllerHighlightDoesNotChangeTheStoredName()
    {
        const std::string controllers = fixture->folder.path() + "Controllers/";
        std::filesystem::create_directories(controllers);
        writeText(controllers + "demo04200150.swf", "x");
        writeText(controllers + "demo04200150b.swf", "x");
        fixture->settings.controllerName = "demo04200150";
        openDialog();
        QCOMPARE(named<QListWidget>("Controllers").currentItem()->text(), QStringLiteral("demo04200150b"));
        ok();
        QCOMPARE(fixture->settings.controllerName, std::string("demo04200150"));
    }

    void controllerSketchShowsTheDeclaredSizeOfTheChoice()
    {
        const std::string controllers = fixture->folder.path() + "Controllers/";
        std::filesystem::create_directories(controllers);
        writeText(controllers + "wide04300040.swf", "x");
        writeText(controllers + "round03150050.swf", "x");
        fixture->settings.controllerName = "wide04300040";
        openDialog();
        showTab(2);
        auto& sketch = named<ControllerSketch>("Controller size");
        QCOMPARE(sketch.declaredWidth(), 300);
        QCOMPARE(sketch.declaredHeight(), 40);
        named<QListWidget>("Controllers").setCurrentRow(0);
        QCOMPARE(sketch.declaredWidth(), 150);
        QCOMPARE(sketch.accessibleDescription(), QStringLiteral("150 × 50 pixels"));
    }

    // The preview takes the list in order and the colours as they stand on
    // the Colours tab, warns about each badly named controller and opens the page.
    void previewWritesAndOpensThePageOfTheListedControllers()
    {
        const std::string controllers = fixture->folder.path() + "Controllers/";
        std::filesystem::create_directories(controllers);
        for (const char* name : {"round03150050.swf", "a.swf", "wide04300040.swf", "zero00100100.swf"})
            writeText(controllers + name, "x");
        writeText(controllers + "wide04300040.txt", "A long bar.\r\n");
        openDialog();
        showTab(4);
        typeInto(named<QLineEdit>("Background colour"), QStringLiteral("123456"));
        showTab(2);
        button("&Preview All").click();

        QCOMPARE(fixture->messages.shown.size(), std::size_t{2});
        QCOMPARE(fixture->messages.shown[0].text,
                 std::string("Error: This controller file is not named correctly and will be skipped \"a.swf\"."));
        QCOMPARE(fixture->messages.shown[1].text,
                 std::string("Error: This file is not named correctly and will be skipped \"zero00100100.swf\"."));
        QCOMPARE(fixture->opener.opened, std::vector<std::string>{controllers + "preview.htm"});
        const std::string page = readText(controllers + "preview.htm");
        QVERIFY(page.find("<body bgcolor=\"#123456\"") != std::string::npos);
        QVERIFY(page.find("      A long bar.\r\n") != std::string::npos);
        QVERIFY(page.find("round03150050") < page.find("wide04300040"));
        QCOMPARE(fixture->settings.backgroundColour, liveBefore.backgroundColour);
    }

    void aPreviewTheBrowserCannotOpenIsReported()
    {
        std::filesystem::create_directories(fixture->folder.path() + "Controllers");
        fixture->opener.succeed = false;
        showTab(2);
        button("&Preview All").click();
        QCOMPARE(fixture->messages.shown.size(), std::size_t{1});
        QCOMPARE(fixture->messages.shown[0].text,
                 std::string("Error: Could not launch the web page with the default browser."));
        QVERIFY(std::filesystem::exists(fixture->folder.path() + "Controllers/preview.htm"));
    }

    void noControllersGiveAnEmptyList()
    {
        showTab(2);
        QCOMPARE(named<QListWidget>("Controllers").count(), 0);
        ok();
        QCOMPARE(fixture->settings.controllerName, std::string("demo04200150"));
    }

    void focusReturnsToTheControlThatHadIt()
    {
        QApplication::setActiveWindow(dialog.get());
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        QLineEdit& number = named<QLineEdit>("Next output file number");
        number.setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), &number);

        showTab(5);
        QComboBox& rate = named<QComboBox>("Sample Rate");
        rate.setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), &rate);

        showTab(0);
        QCOMPARE(QApplication::focusWidget(), &number);
        showTab(5);
        QCOMPARE(QApplication::focusWidget(), &rate);
        showTab(4);
        QVERIFY(page<ColoursTab>().isAncestorOf(QApplication::focusWidget()));

        // Also when the focus was outside the pages, on a button of the
        // dialog, the tab's own control gets it back.
        button("&Tip of the day").setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), &button("&Tip of the day"));
        showTab(0);
        QCOMPARE(QApplication::focusWidget(), &number);
    }

    void tipOfTheDayChangesSurviveOkAndCancel_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    void tipOfTheDayChangesSurviveOkAndCancel()
    {
        QFETCH(bool, confirm);
        writeText(fixture->folder.file("tips.da0"), "one\r\ntwo\r\nthree\r\n");
        fixture->settings.showTipsAtStartup = true;
        fixture->settings.tipNumber = 0;
        openDialog();
        driver->on<TipDialog>([](TipDialog& tips) {
            findButton(tips, QStringLiteral("&Next Tip"))->click();
            findButton(tips, QStringLiteral("&Show tips at startup"))->click();
            findButton(tips, QStringLiteral("&OK"))->click();
            return true;
        });
        button("&Tip of the day").click();
        QCOMPARE(fixture->settings.tipNumber, 2);
        QVERIFY(!fixture->settings.showTipsAtStartup);

        if (confirm)
            ok();
        else
            button("&Cancel").click();
        const ConversionSettings saved = parseParameters(fixture->parametersText());
        QCOMPARE(saved.tipNumber, 2);
        QVERIFY(!saved.showTipsAtStartup);
        QCOMPARE(fixture->settings.tipNumber, 2);
    }

    void helpFailureWarnsAndKeepsTheDialogOpen()
    {
        fixture->opener.succeed = false;
        button("&Help").click();
        QCOMPARE(fixture->messages.shown.size(), std::size_t(1));
        QCOMPARE(fixture->messages.shown.front().text, std::string("Error: Could not launch help file."));
        QVERIFY(dialog->isVisible());
    }

private:
    void openDialog()
    {
        dialog = std::make_unique<OptionsDialog>(fixture->services());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    PageTabControl& tabs() { return *dialog->findChild<PageTabControl*>(); }
    void showTab(int index) { tabs().setCurrentIndex(index); }

    template <typename Page>
    Page& page()
    {
        return *dialog->findChild<Page*>();
    }

    template <typename Control>
    Control& named(const char* name)
    {
        Control* control = findNamed<Control>(*dialog, QString::fromLatin1(name));
        if (!control)
            qFatal("no control named %s", name);
        return *control;
    }

    QAbstractButton& button(const QString& caption)
    {
        QAbstractButton* found = findButton(*dialog, caption);
        if (!found)
            qFatal("no button %s", qPrintable(caption));
        return *found;
    }

    void ok() { button(QStringLiteral("&OK")).click(); }

    static void typeInto(QLineEdit& box, const QString& text)
    {
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClicks(&box, text);
    }

    static void choose(QComboBox& list, const QString& entry)
    {
        const int index = list.findText(entry);
        QVERIFY(index >= 0);
        list.setCurrentIndex(index);
    }

    std::unique_ptr<DesktopFixture> fixture;
    std::unique_ptr<ModalDriver> driver;
    std::unique_ptr<OptionsDialog> dialog;
    ConversionSettings liveBefore;
    std::string fileBefore;
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
