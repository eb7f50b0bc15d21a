#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/ColourLabel.h"
#include "ui/DialogColours.h"
#include "ui/HtmlColour.h"
#include "ui/MainDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/OptionsPage.h"
#include "ui/PageTabControl.h"
#include "ui/OutputTextDialog.h"
#include "ui/QtDocumentOpener.h"
#include "ui/QtMessageBoxes.h"
#include "ui/QtMessagePump.h"
#include "ui/QtSystemDialogs.h"
#include "ui/TipDialog.h"
#include "ui/WorkingDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QtTest>


using namespace orvalin;
using namespace orvalin::test;

namespace {

// The texts of a dialog's buttons and one-line labels that do not fit their
// control, and the controls that reach outside the dialog or page they are
// on. Hidden controls are left out: they are laid out when shown.
QStringList clippedTexts(QWidget& dialog)
{
    QStringList clipped;
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        if (!button->isHidden() && !button->text().isEmpty() &&
            button->width() < button->sizeHint().width())
            clipped << button->text();
    }
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->isHidden() && !label->text().isEmpty() && !label->wordWrap() &&
            label->width() < label->sizeHint().width())
            clipped << label->text();
    }
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        QWidget* parent = control->parentWidget();
        const bool placedByUs = parent == &dialog || qobject_cast<OptionsPage*>(parent);
        if (placedByUs && !control->isHidden() && !parent->rect().contains(control->geometry()))
            clipped << QStringLiteral("outside: ") + control->metaObject()->className() + " " +
                           control->accessibleName();
    }
    return clipped;
}

} // namespace

class LookAndPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture = std::make_unique<DesktopFixture>(); }
    void cleanup() { fixture.reset(); }

    void parseHtmlColourReadsSixDigitsForgivingly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("empty") << "" << QColor(0, 0, 0);
        QTest::newRow("lower case") << "ffffff" << QColor(255, 255, 255);
        QTest::newRow("upper case") << "FF8000" << QColor(255, 128, 0);
        QTest::newRow("leading #") << "#ff0000" << QColor(15, 240, 0);
        QTest::newRow("beyond six") << "ff000099" << QColor(255, 0, 0);
        QTest::newRow("not hex") << "gg8800" << QColor(0, 136, 0);
        QTest::newRow("short") << "1" << QColor(16, 0, 0);
    }

    void parseHtmlColourReadsSixDigitsForgivingly()
    {
        QFETCH(QString, text);
        QFETCH(QColor, colour);
        QCOMPARE(parseHtmlColour(text), colour);
    }

    void formatHtmlColourWritesUpperCaseHex()
    {
        QCOMPARE(formatHtmlColour(QColor(255, 128, 0)), QStringLiteral("FF8000"));
        QCOMPARE(formatHtmlColour(QColor(1, 0, 0)), QStringLiteral("010000"));
        QCOMPARE(parseHtmlColour(formatHtmlColour(QColor(18, 52, 86))), QColor(18, 52, 86));
    }

    void dialogGreyIsTheWindowRedLessEight()
    {
        QCOMPARE(dialogGrey(QColor(255, 255, 255)), QColor(247, 247, 247));
        QCOMPARE(dialogGrey(QColor(4, 200, 200)), QColor(252, 252, 252));
    }

    void dialogsUseTheSchemeAndTitlesKeepTheirFont()
    {
        const QPalette system = QApplication::palette();
        OutputTextDialog dialog(fixture->context);
        QCOMPARE(dialog.palette().color(QPalette::Window), dialogGrey(system.color(QPalette::Base)));
        QCOMPARE(dialog.palette().color(QPalette::Base), system.color(QPalette::Base));

        auto* title = findLabel(dialog, QStringLiteral("Orvalin - Output Text"));
        QCOMPARE(title->font().family(), QStringLiteral("Arial"));
        QCOMPARE(title->font().pixelSize(), 16);
        QVERIFY(title->font().bold());
        QCOMPARE(title->palette().color(QPalette::WindowText), system.color(QPalette::Text));

        MainDialog window(fixture->services());
        QCOMPARE(findLabel(window, QStringLiteral("Orvalin"))->font().pixelSize(), 20);
    }

    void aLabelWithItsOwnColourKeepsItUnderTheScheme()
    {
        QWidget dialog;
        auto* swatch = new ColourLabel(QString(), &dialog);
        swatch->setBackgroundColour(QColor(10, 20, 30));
        applyDialogColours(dialog);
        QCOMPARE(swatch->backgroundColour(), QColor(10, 20, 30));
        QCOMPARE(swatch->textColour(), dialog.palette().color(QPalette::WindowText));
    }

    // Sizes follow the font as dialog units do, so a larger font (or a
    // scaled screen) gives the same window, larger.
    void dialogsGrowWithTheirFont()
    {
        const QFont original = QApplication::font();
        QFont small = original;
        small.setPixelSize(11);
        QFont large = original;
        large.setPixelSize(22);

        QApplication::setFont(small);
        const QSize smallSize = OutputTextDialog(fixture->context).size();
        QApplication::setFont(large);
        const QSize largeSize = OutputTextDialog(fixture->context).size();
        QApplication::setFont(original);

        QVERIFY(std::abs(largeSize.width() - 2 * smallSize.width()) <= smallSize.width() / 5);
        QVERIFY(std::abs(largeSize.height() - 2 * smallSize.height()) <= smallSize.height() / 5);
    }

    void noTextIsClipped_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("normal font") << 12;
        QTest::newRow("large font") << 20;
    }

    void noTextIsClipped()
    {
        QFETCH(int, pixelSize);
        const QFont original = QApplication::font();
        QFont font = original;
        font.setPixelSize(pixelSize);
        QApplication::setFont(font);

        MainDialog window(fixture->services());
        OptionsDialog options(fixture->services());
        OutputTextDialog outputText(fixture->context);
        TipDialog tips(fixture->settings, fixture->parameters, fixture->context.programFolder);
        WorkingDialog working(fixture->services().jobEnvironment(), fixture->stages, fixture->opener);
        // The pages get their size from the tab control, which sizes them
        // when it is shown; each page is checked as it is shown.
        options.show();
        QStringList clipped;
        auto* tabs = options.findChild<PageTabControl*>();
        if (tabs->tabBar()->sizeHint().width() > tabs->width())
            clipped << QStringLiteral("tabs do not fit in one row");
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            clipped += clippedTexts(*tabs->widget(index));
        }
        for (QWidget* dialog : std::initializer_list<QWidget*>{&window, &options, &outputText, &tips, &working})
            clipped += clippedTexts(*dialog);
        QApplication::setFont(original);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QStringLiteral(" | "))));
    }

    void pumpProcessesWaitingEventsAtMostOncePerInterval()
    {
        static QtMessagePump::Clock::time_point now{std::chrono::hours(1)};
        QtMessagePump pump([] { return now; });
        int delivered = 0;
        QTimer::singleShot(0, [&] { ++delivered; });
        QTest::qWait(0);
        QTimer::singleShot(0, [&] { ++delivered; });
        pump.pumpMessages();
        QCOMPARE(delivered, 2);

        QTimer::singleShot(0, [&] { ++delivered; });
        now += QtMessagePump::kInterval - std::chrono::milliseconds(1);
        pump.pumpMessages();
        QCOMPARE(delivered, 2);
        now += std::chrono::milliseconds(1);
        pump.pumpMessages();
        QCOMPARE(delivered, 3);
    }

    void messageBoxesAreCaptionedAndOwnedAsAsked()
    {
        QtMessageBoxes messages;
        QWidget mainWindow;
        messages.setMainWindow(&mainWindow);
        ModalDriver driver;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
        QWidget* owner = &mainWindow;
        const auto answer = [&](QMessageBox::StandardButton button) {
            driver.on<QMessageBox>([&, button](QMessageBox& box) {
                icon = box.icon();
                caption = box.windowTitle();
                text = box.text();
                owner = box.parentWidget();
                box.button(button)->click();
                return true;
            });
        };

        answer(QMessageBox::Yes);
        QVERIFY(messages.askYesNo("Is it OK to overwrite this file:\n/a", MessageOwner::None));
        QCOMPARE(caption, QStringLiteral("Orvalin"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(text, QStringLiteral("Is it OK to overwrite this file:\n/a"));
        QCOMPARE(owner, nullptr);

        answer(QMessageBox::No);
        QVERIFY(!messages.askYesNo("Again?", MessageOwner::None));

        answer(QMessageBox::Ok);
        messages.warn("Error: Something.", MessageOwner::MainWindow);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(owner, &mainWindow);

        answer(QMessageBox::Ok);
        messages.show("Error: Missing parameters file.", MessageIcon::Error, MessageButtons::Ok,
                      MessageOwner::None);
        QCOMPARE(icon, QMessageBox::Critical);
    }

    void choosersStartAsTheProgramAsksAndCancelToNothing()
    {
        QtSystemDialogs choosers;
        ModalDriver driver;
        QColor startColour;
        driver.on<QColorDialog>([&](QColorDialog& dialog) {
            startColour = dialog.currentColor();
            dialog.reject();
            return true;
        });
        QVERIFY(!choosers.chooseColour(nullptr));
        QCOMPARE(startColour, QColor(1, 0, 0));

        QString title;
        QFileDialog::FileMode folderMode = QFileDialog::AnyFile;
        driver.on<QFileDialog>([&](QFileDialog& dialog) {
            title = dialog.windowTitle();
            folderMode = dialog.fileMode();
            dialog.reject();
            return true;
        });
        QVERIFY(!choosers.browseFolder(nullptr, QStringLiteral("Orvalin - Select An Output Folder")));
        QCOMPARE(title, QStringLiteral("Orvalin - Select An Output Folder"));
        QCOMPARE(folderMode, QFileDialog::Directory);

        QStringList filters;
        driver.on<QFileDialog>([&](QFileDialog& dialog) {
            filters = dialog.nameFilters();
            dialog.selectFile(QString::fromStdString(fixture->parameters.path()));
            static_cast<QDialog&>(dialog).accept();
            return true;
        });
        const auto chosen = choosers.chooseInputFile(nullptr);
        QVERIFY(chosen);
        QCOMPARE(*chosen, QString::fromStdString(fixture->parameters.path()));
        QVERIFY(filters.size() <= 1 && (filters.isEmpty() || filters.front().contains(QStringLiteral("(*)"))));
    }

    void openerRefusesAMissingDocument()
    {
        QtDocumentOpener opener;
        QVERIFY(!opener.openDocument(fixture->folder.file("help/index.html")));
    }

private:
    std::unique_ptr<DesktopFixture> fixture;
};

QTEST_MAIN(LookAndPlatformTest)
#include "LookAndPlatformTest.moc"
