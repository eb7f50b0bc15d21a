#include "ui/MainDialog.h"

#include "audio/InputCheck.h"
#include "common/ProgramContext.h"
#include "platform/MessageBoxes.h"
#include "settings/ConversionSettings.h"
#include "ui/DialogSetUp.h"
#include "ui/HelpPage.h"
#include "ui/OptionsDialog.h"
#include "ui/OutputTextDialog.h"
#include "ui/SvgPicture.h"
#include "ui/SystemDialogs.h"
#include "ui/TipDialog.h"
#include "ui/WorkingDialog.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

namespace orvalin {
namespace {

// The single local file a drag carries, or an empty text.
QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

MainDialog::MainDialog(const DesktopServices& services, QWidget* parent)
    // The program's own window, so it can be minimised like one.
    : QDialog(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      services_(services)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Orvalin"), 313, 170);
    // The program's icon, drawn from the SVG beside the executable.
    const QString programIcon = QString::fromStdString(services_.context.programFolder + "orvalin.svg");
    setWindowIcon(QIcon(programIcon));
    setAcceptDrops(true);

    auto* icon = new QLabel(this);
    units.place(*icon, 10, 10, 20, 20);
    icon->setPixmap(renderSvg(programIcon, icon->size(), icon->devicePixelRatioF()));

    addDialogTitle(*this, units, QStringLiteral("Orvalin"), 52, 12, 173, 14, 20);

    auto* prompt = new QLabel(QStringLiteral("MP3 or WAV file name:"), this);
    units.place(*prompt, 4, 59, 79, 8);
    inputField_ = new QLineEdit(this);
    inputField_->setAccessibleName(QStringLiteral("MP3 or WAV file name"));
    units.place(*inputField_, 4, 67, 252, 12);
    prompt->setBuddy(inputField_);

    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    auto* browseButton = new QPushButton(QStringLiteral("&Browse"), this);
    auto* optionsButton = new QPushButton(QStringLiteral("&Options"), this);
    auto* goButton = new QPushButton(QStringLiteral("&Go"), this);
    auto* exitButton = new QPushButton(QStringLiteral("E&xit"), this);
    units.place(*helpButton, 261, 14, 48, 14);
    units.place(*browseButton, 261, 66, 48, 14);
    units.place(*optionsButton, 209, 96, 48, 14);
    units.place(*goButton, 261, 96, 48, 14);
    units.place(*exitButton, 261, 152, 48, 14);
    // No default button: Enter in the input field must not start a run.
    for (QPushButton* button : {helpButton, browseButton, optionsButton, goButton, exitButton})
        button->setAutoDefault(false);

    auto* version = new QLabel(
        QStringLiteral("Version ") + QLatin1String(kVersionText), this);
    units.place(*version, 4, 131, 53, 8);
    auto* credit = new QLabel(QStringLiteral("Uses LAME compression https://lame.sourceforge.io"), this);
    units.place(*credit, 173, 122, 136, 8);
    // Kept flush with the buttons' right edge when its text needs more room.
    credit->move(units.x(309) - credit->width(), credit->y());

    connect(helpButton, &QPushButton::clicked, this, [this] {
        launchHelp(services_.context.programFolder, services_.opener, services_.messages);
    });
    connect(browseButton, &QPushButton::clicked, this, &MainDialog::browse);
    connect(optionsButton, &QPushButton::clicked, this, &MainDialog::openOptions);
    connect(goButton, &QPushButton::clicked, this, &MainDialog::go);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);

    inputField_->setFocus();
}

void MainDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (firstShowDone_)
        return;
    firstShowDone_ = true;
    if (services_.settings.showTipsAtStartup)
        QTimer::singleShot(0, this, &MainDialog::showTipOfTheDay);
}

void MainDialog::showTipOfTheDay()
{
    TipDialog tips(services_.settings, services_.parameters, services_.context.programFolder, this);
    tips.exec();
}

void MainDialog::browse()
{
    if (const auto path = services_.systemDialogs.chooseInputFile(this))
        inputField_->setText(*path);
}

void MainDialog::openOptions()
{
    OptionsDialog options(services_, this);
    options.exec();
}

void MainDialog::go()
{
    ConversionInput& input = services_.input;
    input.inputPath = inputField_->text().toStdString();
    if (input.inputPath.empty()) {
        services_.messages.warn("Error: Please select an input MP3 or WAV file first.");
        return;
    }
    if (!checkInput(input, services_.messages))
        return;

    OutputTextDialog outputText(input, this);
    if (outputText.exec() != QDialog::Accepted)
        return;

    WorkingDialog working(services_, this);
    working.exec();
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    inputField_->setText(path);
    event->acceptProposedAction();
}

} // namespace orvalin
