#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "settings/SettingsRules.h"
#include "ui/ColourLabel.h"
#include "ui/HelpPage.h"
#include "ui/OptionsDialog.h"
#include "ui/PageTabControl.h"
#include "ui/TipDialog.h"
#include "web/ControllerCatalogue.h"
#include "web/ControllerSize.h"

#include <QSvgRenderer>

#include <filesystem>

using namespace orvalin;
using namespace orvalin::test;

class OptionsDialogTest : public QObject {
    Q_OBJECT

    std::optional<DesktopFixture> f;
    std::optional<ModalDriver> driver;
    std::optional<OptionsDialog> dialog;

    void open()
    {
        dialog.reset();
        dialog.emplace(f->services());
        dialog->show();
    }
    // Opens the dialog on the live settings, makes the edit and confirms it.
    const ConversionSettings& afterOk(const std::function<void()>& edit)
    {
        open();
        edit();
        button("&OK").click();
        return f->settings;
    }
    QWidget& page(int index) { return *dialog->findChild<PageTabControl*>()->widget(index); }
    QAbstractButton& button(const QString& caption) { return test::button(*dialog, caption); }
    QComboBox& list(const QString& name) { return named<QComboBox>(*dialog, name); }
    QLineEdit& box(const QString& name) { return named<QLineEdit>(*dialog, name); }
    void typeInto(const QString& name, const QString& typed)
    {
        box(name).selectAll();
        QTest::keyClick(&box(name), Qt::Key_Delete);
        QTest::keyClicks(&box(name), typed);
    }

private slots:
    void init() { f.emplace(); driver.emplace(); open(); }
    void cleanup() { driver.reset(); dialog.reset(); f.reset(); }

    // Values from a hand-edited file that no control stands for show no
    // choice and are kept.
    void opensOnTheOutputTabShowingTheStoredSettings()
    {
        f->settings.bitrate = 100;
        f->settings.outputMode = OutputMode{4};
        open();
        QVERIFY(page(0).isVisible());
        QCOMPARE(box("Output folder").text() + box("Next output file number").text(),
                 QString::fromStdString(f->outputFolder() + "7"));
        for (const char* caption : {"To specified &folder", "C - Initially stopped, loops sound"})
            QVERIFY2(button(caption).isChecked(), caption);
        for (QRadioButton* radio : page(1).findChildren<QRadioButton*>())
            QVERIFY(!radio->isChecked());
        QVERIFY(!box("Special instruction letter").isEnabled());
        QCOMPARE(box("Background colour").text() + box("Text colour").text(), "FFFFFF000000");
        QCOMPARE(list("Bitrate").currentIndex(), -1);
        QCOMPARE(list("Sample Rate").currentText() + list("Channels").currentText(), "44100 Hz2 - Stereo");
        button("&Help").click();
        QCOMPARE(f->opener.opened, std::vector<std::string>{helpPagePath(f->context.programFolder)});
        QCOMPARE(afterOk([] {}).bitrate * 10 + static_cast<int>(f->settings.outputMode), 1004);
    }

    // Edits go to a working copy that OK copies back and saves, unless it
    // breaks a compression rule; Cancel drops them.
    void eachControlReachesItsSettingOnOk()
    {
        const QString special = "Special (future controllers may repond to special instructions)";
        QCOMPARE(afterOk([&] { typeInto("Next output file number", "1234567"); }).nextOutputNumber, 34567);
        QCOMPARE(afterOk([&] { typeInto("Next output file number", "12ab3"); }).nextOutputNumber, 123);
        f->settings.nextOutputNumber = 123456;
        QCOMPARE(afterOk([] {}).nextOutputNumber, 23456);
        QCOMPARE(afterOk([&] { button("To &desktop").click(); }).outputToDesktop, true);
        QCOMPARE(afterOk([&] { button("&Page plays in today's browsers").click(); }).webPlayer, true);
        QCOMPARE(afterOk([&] { button("Bare output, plays &once").click(); }).outputMode, OutputMode::BareOnce);
        QCOMPARE(afterOk([&] { button("F - Initially playing, plays sound once").click(); }).instructionLetter, "f");
        QCOMPARE(afterOk([&] { button(special).click(); }).instructionLetter, "c");
        const auto typeQ = [&] { button(special).click(); typeInto("Special instruction letter", "Q"); };
        QCOMPARE(afterOk(typeQ).instructionLetter, "q");
        QCOMPARE(afterOk([&] { typeInto("Background colour", "00ff00"); }).backgroundColour, "00ff00");
        QCOMPARE(afterOk([&] { list("Channels").setCurrentIndex(0); }).channels, 1);
        QCOMPARE(afterOk([&] { list("Sample Rate").setCurrentText("22050 Hz"); }).sampleRate, 22050);
        QCOMPARE(afterOk([&] { list("Bitrate").setCurrentText("64 kb/s"); }).bitrate, 64);
        QCOMPARE(f->parametersText(), formatParameters(f->settings));

        const ConversionSettings saved = f->settings;
        afterOk([&] { list("Bitrate").setCurrentText("192 kb/s"); });
        QVERIFY(dialog->isVisible());
        QCOMPARE(f->messages.shown.size(), 1u);
        QCOMPARE(f->messages.shown[0].text, compressionRuleMessage(22050, 192));
        button("&Cancel").click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f->settings, saved);
    }

    void outputFolderFollowsTheChoiceAndTheChooser()
    {
        f->settings.outputToDesktop = true;
        open();
        QVERIFY(!box("Output folder").isEnabled() && !button("&Browse").isEnabled());
        button("To specified &folder").click();
        QVERIFY(box("Output folder").isEnabled() && button("&Browse").isEnabled());
        typeInto("Output folder", "");
        button("&Browse").click(); // cancelled
        QCOMPARE(box("Output folder").text(), "");
        typeInto("Output folder", "/data/");
        f->systemDialogs.folder = "/data/songs";
        button("&Browse").click();
        const QString asked = "Orvalin - Select An Output Folder at ";
        QCOMPARE(f->systemDialogs.folderRequests, (std::vector<QString>{asked + QDir::homePath(), asked + "/data/"}));
        QCOMPARE(f->systemDialogs.owners.back(), &page(0));
        button("&OK").click();
        QCOMPARE(f->settings.outputFolder, "/data/songs/");
    }

    void coloursFollowTheBoxAndThePicker()
    {
        typeInto("Background colour", "ff80");
        QCOMPARE(named<ColourLabel>(*dialog, "Background swatch").backgroundColour(), QColor(255, 128, 0));
        button("&Pick Colour").click(); // cancelled
        f->systemDialogs.colour = QColor(18, 52, 171);
        button("P&ick Colour").click();
        QCOMPARE(named<ColourLabel>(*dialog, "Text swatch").backgroundColour(), QColor(18, 52, 171));
        QCOMPARE(f->systemDialogs.owners.back(), &page(4));
        button("&OK").click();
        QCOMPARE(f->settings.backgroundColour + f->settings.textColour, "ff801234AB");
    }

    // The preview takes the colours as they stand on the Colours tab. The
    // sketch shows a controller's picture in the box its name declares, and
    // the bare box for one without a picture.
    void controllersTabPreviewsAndTakesTheChoice()
    {
        const std::string folder = f->folder.file("Controllers/");
        std::filesystem::create_directories(folder);
        for (const char* name : {"wide04300040.swf", "round03150050.swf", "a.swf", "notes.txt"})
            writeText(folder + name, "x");
        writeText(folder + "wide04300040.svg", "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                                               "<rect width='10' height='10' fill='#f00'/></svg>");
        f->settings.controllerName = "wide04300040";
        open();
        auto& controllers = named<QListWidget>(*dialog, "Controllers");
        auto& sketch = named<QWidget>(*dialog, "Controller size");
        QCOMPARE(controllers.count(), 3);
        QCOMPARE(controllers.currentItem()->text() + sketch.accessibleDescription(), "wide04300040300 × 40 pixels");
        const auto redArea = [&] {
            const QImage shot = sketch.grab().toImage();
            QRect red;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    red |= shot.pixel(x, y) == qRgb(255, 0, 0) ? QRect(x, y, 1, 1) : QRect();
            return red;
        };
        const QRect red = redArea(); // the declared 300 × 40, not the file's 10 × 10
        QVERIFY(std::abs(red.height() - red.width() * 40 / 300) <= 3 && red.width() > sketch.width() / 2);
        typeInto("Background colour", "123456");
        f->opener.succeed = false;
        button("&Preview All").click();
        QCOMPARE(f->opener.opened, std::vector<std::string>{folder + "preview.htm"});
        QVERIFY(readText(folder + "preview.htm").find("bgcolor=\"#123456\"") != std::string::npos);
        QCOMPARE(f->messages.shown.size(), 2u); // a.swf is badly named, and the page did not open
        QCOMPARE(f->messages.shown[1].text, "Error: Could not launch the web page with the default browser.");
        // With the web player, the player goes beside the page, which opens through the page server.
        std::filesystem::create_directories(f->folder.file("player"));
        writeText(f->folder.file("player/ruffle.js"), "player");
        button("&Page plays in today's browsers").click();
        button("&Preview All").click();
        QCOMPARE(readText(folder + "ruffle/ruffle.js"), "player");
        const QUrl address(QString::fromStdString(f->opener.opened.back()));
        QCOMPARE(address.authority(), QStringLiteral("127.0.0.1:%1").arg(f->pageServer.port()));
        QVERIFY(address.path().endsWith("/preview.htm"));

        controllers.setCurrentRow(1);
        QCOMPARE(sketch.accessibleDescription(), "150 × 50 pixels");
        QVERIFY(redArea().isEmpty());
        QCOMPARE(sketch.grab().toImage().pixel(sketch.width() / 2, sketch.height() / 3),
                 sketch.palette().color(QPalette::Mid).rgb());
        button("&OK").click();
        QCOMPARE(f->settings.controllerName, "round03150050");

        // The controllers the build makes come with pictures of their size.
        const std::vector<std::string> built = listControllers(ORVALIN_PROGRAM_DIR "Controllers/");
        QVERIFY(!built.empty());
        for (const std::string& name : built) {
            const QSvgRenderer picture(QString::fromStdString(ORVALIN_PROGRAM_DIR "Controllers/" + name + ".svg"));
            QCOMPARE(picture.defaultSize(), QSize(parseControllerSize(name).width, parseControllerSize(name).height));
        }
    }

    // The tip dialog saves at once; OK must not undo it, nor turn back the
    // number a command-line run took meanwhile.
    void tipOfTheDayChangesSurviveOk()
    {
        writeText(f->folder.file("tips.da0"), "one\r\ntwo\r\n");
        ConversionSettings elsewhere;
        ParametersFile commandLine(elsewhere, f->parameters.path(), f->messages, f->processExit);
        commandLine.loadParameters();
        commandLine.reserveOutputNumber();
        driver->on<TipDialog>([](TipDialog& tips) {
            test::button(tips, "&Next Tip").click();
            test::button(tips, "&Show tips at startup").click();
            test::button(tips, "&OK").click();
            return true;
        });
        button("&Tip of the day").click();
        button("&OK").click();
        QCOMPARE(f->settings.tipNumber, 2);
        QVERIFY(f->settings.showTipsAtStartup);
        QCOMPARE(f->settings.nextOutputNumber, 8);
        QCOMPARE(f->parametersText(), formatParameters(f->settings));
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "OptionsDialogTest.moc"
