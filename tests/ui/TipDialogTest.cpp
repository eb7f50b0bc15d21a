#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/ColourLabel.h"
#include "ui/TipDialog.h"
#include "ui/TipFile.h"

#include <QCheckBox>
#include <QtTest>

using namespace orvalin;
using namespace orvalin::test;

class TipDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        fixture = std::make_unique<DesktopFixture>();
        writeText(tipsPath(), "First tip\r\nSecond tip\r\nThird tip\r\n");
    }

    void cleanup() { fixture.reset(); }

    void openingShowsTheNextTipAndSavesItsNumber_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("saved");
        QTest::newRow("after the first") << 1 << "Second tip" << 2;
        QTest::newRow("after the last") << 3 << "First tip" << 1;
        QTest::newRow("never shown") << 0 << "First tip" << 1;
        QTest::newRow("beyond the last") << 7 << "First tip" << 1;
        QTest::newRow("hand-edited negative") << -5 << "" << -4;
    }

    void openingShowsTheNextTipAndSavesItsNumber()
    {
        QFETCH(int, stored);
        QFETCH(QString, shown);
        QFETCH(int, saved);
        fixture->settings.tipNumber = stored;
        TipDialog dialog = makeDialog();
        QCOMPARE(tipText(dialog), shown);
        QCOMPARE(fixture->settings.tipNumber, saved);
        QCOMPARE(parseParameters(fixture->parametersText()).tipNumber, saved);
    }

    void pagingWrapsBothWays()
    {
        fixture->settings.tipNumber = 2;
        TipDialog dialog = makeDialog();
        QCOMPARE(tipText(dialog), QStringLiteral("Third tip"));
        click(dialog, "&Next Tip");
        QCOMPARE(tipText(dialog), QStringLiteral("First tip"));
        QCOMPARE(parseParameters(fixture->parametersText()).tipNumber, 1);
        click(dialog, "&Previous Tip");
        QCOMPARE(tipText(dialog), QStringLiteral("Third tip"));
        QCOMPARE(fixture->parametersText().find("\r\n03\r\n") != std::string::npos, true);
        click(dialog, "&Previous Tip");
        QCOMPARE(tipText(dialog), QStringLiteral("Second tip"));
    }

    void negativePositionReachesTheLastTipAtZero()
    {
        fixture->settings.tipNumber = -5;
        TipDialog dialog = makeDialog();
        for (int press = 0; press < 3; ++press)
            click(dialog, "&Next Tip");
        QCOMPARE(fixture->settings.tipNumber, -1);
        click(dialog, "&Next Tip");
        QCOMPARE(tipText(dialog), QStringLiteral("Third tip"));
        QCOMPARE(fixture->settings.tipNumber, 3);
    }

    void startupBoxIsSavedAtOnce()
    {
        fixture->settings.showTipsAtStartup = true;
        TipDialog dialog = makeDialog();
        auto* box = qobject_cast<QCheckBox*>(findButton(dialog, QStringLiteral("&Show tips at startup")));
        QVERIFY(box->isChecked());
        box->click();
        QVERIFY(!fixture->settings.showTipsAtStartup);
        QVERIFY(!parseParameters(fixture->parametersText()).showTipsAtStartup);
        box->click();
        QVERIFY(parseParameters(fixture->parametersText()).showTipsAtStartup);
    }

    void tipAreaKeepsTheTooltipColours()
    {
        TipDialog dialog = makeDialog();
        auto* tip = findNamed<ColourLabel>(dialog, QStringLiteral("Tip"));
        QCOMPARE(tip->backgroundColour(), QApplication::palette().color(QPalette::ToolTipBase));
        QCOMPARE(tip->textColour(), QApplication::palette().color(QPalette::ToolTipText));
        QVERIFY(tip->wordWrap());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Orvalin - Tip of the day"));
    }

    void selectTipWithoutAFileGivesAnEmptyFirstTip()
    {
        const TipChoice choice = selectTip(fixture->folder.file("missing.da0"), 5);
        QCOMPARE(choice.text, std::string());
        QCOMPARE(choice.number, 1);
    }

    void selectTipInAnEmptyFile()
    {
        writeText(tipsPath(), "");
        QCOMPARE(selectTip(tipsPath(), 1).number, 1);
        QCOMPARE(selectTip(tipsPath(), 0).number, 0);
        QCOMPARE(selectTip(tipsPath(), 0).text, std::string());
    }

    void selectTipCountsEmptyAndUnendedLines()
    {
        writeText(tipsPath(), "one\n\nthree");
        QCOMPARE(selectTip(tipsPath(), 2).text, std::string());
        QCOMPARE(selectTip(tipsPath(), 2).number, 2);
        QCOMPARE(selectTip(tipsPath(), 3).text, std::string("three"));
        QCOMPARE(selectTip(tipsPath(), 0).number, 3);
        QCOMPARE(selectTip(tipsPath(), 4).text, std::string("one"));
    }

    // The tips that ship: CR LF lines, enough of them, none empty, and each
    // short enough to show whole in the tip area.
    void shippedTipsFitTheTipArea()
    {
        const std::string shipped = readText(std::string(ORVALIN_PROGRAM_FOLDER) + "tips.da0");
        QVERIFY(!shipped.empty());
        QVERIFY(shipped.size() >= 2 && shipped.substr(shipped.size() - 2) == "\r\n");
        for (std::size_t end = shipped.find('\n'); end != std::string::npos; end = shipped.find('\n', end + 1))
            QVERIFY2(end > 0 && shipped[end - 1] == '\r', "a tip line does not end in CR LF");
        writeText(tipsPath(), shipped);

        TipDialog dialog = makeDialog();
        auto* tip = findNamed<ColourLabel>(dialog, QStringLiteral("Tip"));
        const int count = selectTip(tipsPath(), 0).number;
        QVERIFY(count >= 20);
        for (int number = 1; number <= count; ++number) {
            const TipChoice choice = selectTip(tipsPath(), number);
            QVERIFY(!choice.text.empty());
            QVERIFY(choice.text.find('\r') == std::string::npos);
            tip->setText(QString::fromStdString(choice.text));
            QVERIFY2(tip->heightForWidth(tip->width()) <= tip->height(), choice.text.c_str());
        }
    }

private:
    std::string tipsPath() const { return fixture->folder.file("tips.da0"); }

    TipDialog makeDialog()
    {
        return TipDialog(fixture->settings, fixture->parameters, fixture->context.programFolder);
    }

    static QString tipText(const TipDialog& dialog)
    {
        return findNamed<ColourLabel>(dialog, QStringLiteral("Tip"))->text();
    }

    static void click(const TipDialog& dialog, const char* caption)
    {
        findButton(dialog, QString::fromLatin1(caption))->click();
    }

    std::unique_ptr<DesktopFixture> fixture;
};

QTEST_MAIN(TipDialogTest)
#include "TipDialogTest.moc"
