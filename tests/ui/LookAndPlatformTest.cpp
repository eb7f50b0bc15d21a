#include "DesktopFixture.h"
#include "ModalDriver.h"
#include "ui/ColourLabel.h"
#include "ui/DialogColours.h"
#include "ui/HtmlColour.h"
#include "ui/MainDialog.h"
#include "ui/OptionsDialog.h"
#include "ui/OptionsPage.h"
#include "ui/OutputTextDialog.h"
#include "ui/PageTabControl.h"
#include "ui/QtDocumentOpener.h"
#include "ui/QtMessageBoxes.h"
#include "ui/TipDialog.h"
#include "ui/WorkingDialog.h"

using namespace orvalin;
using namespace orvalin::test;

namespace {

// The texts of visible buttons and one-line labels that do not fit their
// control, the controls that reach outside the dialog or page they are on,
// and on a page those that overlap another or cross the frame of a group.
QStringList clippedTexts(QWidget& dialog)
{
    QStringList clipped;
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<QLabel*>(control);
        const auto* button = qobject_cast<QAbstractButton*>(control);
        const QString text = label ? label->text() : button ? button->text() : QString();
        if (!control->isHidden() && !text.isEmpty() && !(label && label->wordWrap()) &&
            control->width() < control->sizeHint().width())
            clipped << text;
        QWidget* parent = control->parentWidget();
        if ((parent == &dialog || qobject_cast<OptionsPage*>(parent)) && !control->isHidden() &&
            !parent->rect().contains(control->geometry()))
            clipped << QStringLiteral("outside: ") + control->metaObject()->className() + " " + text;
        const auto siblings = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* other : qobject_cast<OptionsPage*>(parent) ? siblings : QList<QWidget*>()) {
            const auto* group = qobject_cast<QGroupBox*>(other);
            const QRect inside = group ? group->contentsRect().translated(group->pos()) : QRect();
            if (other != control && !qobject_cast<QGroupBox*>(control) &&
                other->geometry().intersects(control->geometry()) && !inside.contains(control->geometry()))
                clipped << QStringLiteral("overlap: ") + control->metaObject()->className() + " " + text;
        }
    }
    return clipped;
}

} // namespace

class LookAndPlatformTest : public QObject {
    Q_OBJECT

    std::optional<DesktopFixture> f;

private slots:
    void init() { f.emplace(); }
    void cleanup() { f.reset(); }

    // Six hex digits read forgivingly: a digit that is none counts as 0.
    void htmlColoursReadForgivinglyAndWriteUpperCase()
    {
        const std::pair<const char*, QColor> cases[] = {
            {"", QColor(0, 0, 0)}, {"fFA080", QColor(255, 160, 128)},
            {"#9a0Bc1", QColor(9, 160, 188)}, {"g1", QColor(1, 0, 0)}};
        for (const auto& [text, colour] : cases)
            QCOMPARE(parseHtmlColour(text), colour);
        QCOMPARE(formatHtmlColour(QColor(1, 128, 171)), "0180AB");
    }

    void dialogsUseTheSchemeAndTitlesTheirOwnFont()
    {
        QCOMPARE(dialogGrey(QColor(255, 255, 255)), QColor(247, 247, 247));
        QCOMPARE(dialogGrey(QColor(4, 200, 200)), QColor(252, 252, 252));
        const QPalette system = QApplication::palette();
        OutputTextDialog dialog(f->input);
        QCOMPARE(dialog.palette().color(QPalette::Window), dialogGrey(system.color(QPalette::Base)));
        QCOMPARE(dialog.palette().color(QPalette::Base), system.color(QPalette::Base));
        QCOMPARE(dialog.palette().color(QPalette::WindowText), system.color(QPalette::Text));
        const QFont title = label(dialog, "Orvalin - Output Text").font();
        QCOMPARE(title.family() + QString::number(title.pixelSize()) + (title.bold() ? " bold" : ""), "Arial16 bold");
        QCOMPARE(label(MainDialog(f->services()), "Orvalin").font().pixelSize(), 20);
        // A label with a colour of its own keeps it.
        auto* swatch = new ColourLabel(QString(), &dialog);
        swatch->setBackgroundColour(QColor(10, 20, 30));
        applyDialogColours(dialog);
        QCOMPARE(swatch->backgroundColour(), QColor(10, 20, 30));

        // Every page, and the inside of every group on it, shows the grey too.
        OptionsDialog options(f->services());
        options.show();
        auto* tabs = options.findChild<PageTabControl*>();
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            const QImage shot = options.grab().toImage();
            QWidget* page = tabs->widget(index);
            const QList<QWidget*> areas = page->findChildren<QWidget*>() << page;
            for (QWidget* area : areas)
                if (area == page || qobject_cast<QGroupBox*>(area))
                    QCOMPARE(shot.pixelColor(area->mapTo(&options, QPoint(area->width() - 4, area->height() / 2))),
                             dialogGrey(system.color(QPalette::Base)));
        }
    }

    // Sizes follow the font as dialog units do: a font twice as large (or a
    // scaled screen) gives the same window, twice as large, and no text is
    // cut off or covered at either size.
    void dialogsGrowWithTheirFontAndClipNoText()
    {
        const QFont original = QApplication::font();
        QList<QSize> sizes;
        QStringList clipped;
        for (const int pixels : {12, 24}) {
            QFont font = original;
            font.setPixelSize(pixels);
            QApplication::setFont(font);
            MainDialog window(f->services());
            OptionsDialog options(f->services());
            OutputTextDialog outputText(f->input);
            TipDialog tips(f->settings, f->parameters, f->context.programFolder);
            WorkingDialog working(f->services());
            sizes << outputText.size();
            // The tab control sizes a page when it shows it.
            options.show();
            auto* tabs = options.findChild<PageTabControl*>();
            if (tabs->tabBar()->sizeHint().width() > tabs->width())
                clipped << QStringLiteral("tabs do not fit in one row");
            for (int index = 0; index < tabs->count(); ++index) {
                tabs->setCurrentIndex(index);
                clipped += clippedTexts(*tabs->widget(index));
            }
            // Tab leads from the chosen Special on to its letter box.
            options.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&options));
            tabs->setCurrentIndex(3);
            auto* special = tabs->widget(3)->findChildren<QRadioButton*>().back();
            special->click();
            special->setFocus();
            QTest::keyClick(special, Qt::Key_Tab);
            if (QApplication::focusWidget() != &named<QLineEdit>(options, "Special instruction letter"))
                clipped << QStringLiteral("Tab after Special");
            for (QWidget* dialog : std::initializer_list<QWidget*>{&window, &options, &outputText, &tips, &working})
                clipped += clippedTexts(*dialog);
        }
        QApplication::setFont(original);
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(" | ")));
        QVERIFY(std::abs(sizes[1].width() - 2 * sizes[0].width()) <= sizes[0].width() / 5);
        QVERIFY(std::abs(sizes[1].height() - 2 * sizes[0].height()) <= sizes[0].height() / 5);
    }

    // The icons are drawn from their SVG files in as many pixels as the
    // screen shows, so that they are sharp on a scaled screen too.
    void iconsAreDrawnForTheScreensPixelRatio()
    {
        for (const char* name : {"orvalin.svg", "tip.svg"})
            std::filesystem::copy_file(ORVALIN_PROGRAM_DIR + std::string(name), f->folder.file(name));
        MainDialog window(f->services());
        TipDialog tips(f->settings, f->parameters, f->context.programFolder);
        QList<QLabel*> icons = window.findChildren<QLabel*>() + tips.findChildren<QLabel*>();
        icons.removeIf([](QLabel* label) { return label->pixmap().isNull(); });
        QCOMPARE(icons.size(), 2);
        for (QLabel* icon : icons) {
            QCOMPARE(icon->pixmap().size(), icon->size() * icon->devicePixelRatioF());
            QVERIFY(icon->pixmap().toImage().pixelColor(icon->pixmap().rect().center()).alpha() > 0);
        }
    }

    void pumpProcessesWaitingEventsAtMostOncePerInterval()
    {
        static QtMessagePump::Clock::time_point now{std::chrono::hours(1)};
        QtMessagePump pump([] { return now; });
        int delivered = 0;
        QList<int> seen;
        using namespace std::chrono_literals;
        using std::chrono::milliseconds;
        for (const milliseconds step : {QtMessagePump::kInterval, QtMessagePump::kInterval - milliseconds(1), 1ms}) {
            QTimer::singleShot(0, [&] { ++delivered; });
            now += step;
            pump.pumpMessages();
            seen << delivered;
        }
        QCOMPARE(seen, (QList<int>{1, 1, 3}));
    }

    // The real message boxes, answered as a user would, and the real opener.
    void messageBoxesAnswerAsTheUserDid()
    {
        QtMessageBoxes unowned;
        QtMessageBoxes owned;
        QWidget mainWindow;
        owned.setOwner(&mainWindow);
        ModalDriver driver;
        QStringList seen;
        const auto answer = [&](QMessageBox::StandardButton button) {
            driver.on<QMessageBox>([&, button](QMessageBox& box) {
                seen << QString("%1 %2 %3 %4").arg(box.windowTitle(), box.text()).arg(box.icon())
                            .arg(box.parentWidget() == &mainWindow);
                box.button(button)->click();
                return true;
            });
        };
        answer(QMessageBox::Yes);
        QVERIFY(unowned.askYesNo("Overwrite?"));
        answer(QMessageBox::No);
        QVERIFY(!unowned.askYesNo("Again?"));
        answer(QMessageBox::Ok);
        owned.warn("Error: Something.");
        // Icons: 2 warning, 4 question.
        QCOMPARE(seen, (QStringList{"Orvalin Overwrite? 4 0", "Orvalin Again? 4 0", "Orvalin Error: Something. 2 1"}));
        QVERIFY(!QtDocumentOpener().openDocument(f->folder.file("help/index.html")));
    }
};

QTEST_MAIN(LookAndPlatformTest)
#include "LookAndPlatformTest.moc"
