#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/ColourLabel.h"
#include "ui/TipDialog.h"
#include "ui/TipFile.h"

using namespace orvalin;
using namespace orvalin::test;

class TipDialogTest : public QObject {
    Q_OBJECT

    std::optional<DesktopFixture> f;
    std::string tips() const { return f->folder.file("tips.da0"); }
    static QString tip(const QWidget& dialog) { return named<QLabel>(dialog, "Tip").text(); }

private slots:
    void init() { f.emplace(); writeText(tips(), "First tip\r\nSecond tip\r\nThird tip\r\n"); }
    void cleanup() { f.reset(); }

    // Request 0 is the last line; past the end is the first, numbered 1.
    void selectTipPicksTheLineAskedFor()
    {
        const std::tuple<const char*, int, std::string, int> cases[] = {
            {"one\r\n\nthree", 1, "one", 1}, {"one\r\n\nthree", 2, "", 2}, {"one\r\n\nthree", 0, "three", 3},
            {"one\r\n\nthree", 4, "one", 1}, {"one\n", -5, "", -5}, {"", 0, "", 0},
            {"", 1, "", 1}, {nullptr, 5, "", 1}};
        for (const auto& [content, request, text, number] : cases) {
            std::filesystem::remove(tips());
            if (content) // else no file
                writeText(tips(), content);
            QCOMPARE(selectTip(tips(), request).text, text);
            QCOMPARE(selectTip(tips(), request).number, number);
        }
        QCOMPARE(stepTipRequest(INT_MIN, -1), INT_MIN); // held there, as past INT_MAX below
    }

    void openingShowsTheNextTipAndSavesItsNumber()
    {
        for (const auto& [stored, shown, saved] :
             {std::tuple{1, "Second tip", 2}, {3, "First tip", 1}, {-5, "", -4}, {INT_MAX, "First tip", 1}}) {
            f->settings.tipNumber = stored;
            TipDialog dialog(f->settings, f->parameters, f->context.programFolder);
            QCOMPARE(tip(dialog), shown);
            QCOMPARE(f->savedSettings().tipNumber, saved);
        }
    }

    void pagingAndTheStartupBoxSaveAtOnce()
    {
        f->settings.tipNumber = 2;
        f->settings.showTipsAtStartup = true;
        TipDialog dialog(f->settings, f->parameters, f->context.programFolder);
        QCOMPARE(dialog.windowTitle(), "Orvalin - Tip of the day");
        QCOMPARE(tip(dialog), "Third tip");
        button(dialog, "&Next Tip").click();
        QCOMPARE(tip(dialog), "First tip");
        button(dialog, "&Previous Tip").click();
        QCOMPARE(tip(dialog), "Third tip");
        QCOMPARE(f->savedSettings().tipNumber, 3);
        QVERIFY(button(dialog, "&Show tips at startup").isChecked());
        button(dialog, "&Show tips at startup").click();
        QVERIFY(!f->savedSettings().showTipsAtStartup);
        auto& area = named<ColourLabel>(dialog, "Tip");
        QCOMPARE(area.backgroundColour(), QApplication::palette().color(QPalette::ToolTipBase));
        QCOMPARE(area.textColour(), QApplication::palette().color(QPalette::ToolTipText));
    }
};

QTEST_MAIN(TipDialogTest)
#include "TipDialogTest.moc"
