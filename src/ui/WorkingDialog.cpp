#include "ui/WorkingDialog.h"

#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "settings/ConversionSettings.h"
#include "ui/DialogSetUp.h"
#include "ui/LocalPageServer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace orvalin {
namespace {

QString resultLine(const char* words, const std::string& fileName)
{
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(words), QString::fromStdString(fileName));
}

} // namespace

WorkingDialog::WorkingDialog(const DesktopServices& services, QWidget* parent)
    : QDialog(parent, kDialogFlags),
      environment_(services.jobEnvironment()),
      messages_(services.messages),
      opener_(services.opener),
      pageServer_(services.pageServer),
      job_(environment_, services.stages, *this)
{
    const DialogUnits units = setUpDialog(*this, QStringLiteral("Orvalin - Working"), 242, 97);
    addDialogTitle(*this, units, QStringLiteral("Orvalin - Working..."), 7, 6, 228, 14);

    auto* progressLabel = new QLabel(QStringLiteral("Progress"), this);
    units.place(*progressLabel, 7, 24, 60, 8);
    progressBar_ = new QProgressBar(this);
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setAccessibleName(progressLabel->text());
    units.place(*progressBar_, 7, 33, 228, 10);

    pageLine_ = new QLabel(this);
    streamLine_ = new QLabel(this);
    controllerLine_ = new QLabel(this);
    units.place(*pageLine_, 7, 47, 228, 8);
    units.place(*streamLine_, 7, 56, 228, 8);
    units.place(*controllerLine_, 7, 65, 228, 8);

    launchButton_ = new QPushButton(QStringLiteral("&Launch Output"), this);
    units.place(*launchButton_, 7, 78, 60, 14);
    launchButton_->hide();

    // The outcome texts share the middle of the bottom row; a run both
    // cancelled and failed shows both side by side.
    auto* statusArea = new QWidget(this);
    units.place(*statusArea, 70, 78, 112, 14);
    auto* statusLayout = new QHBoxLayout(statusArea);
    statusLayout->setContentsMargins(0, 0, 0, 0);
    succeededText_ = new QLabel(QStringLiteral("Finished Successfully!"), statusArea);
    failedText_ = new QLabel(QStringLiteral("Failed"), statusArea);
    cancelledText_ = new QLabel(QStringLiteral("Cancelled"), statusArea);
    for (QLabel* text : {succeededText_, failedText_, cancelledText_}) {
        text->setAlignment(Qt::AlignCenter);
        statusLayout->addWidget(text);
        text->hide();
    }

    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    units.place(*cancelButton_, 185, 78, 50, 14);
    units.place(*okButton_, 185, 78, 50, 14);
    okButton_->setDefault(true);
    okButton_->hide();

    connect(cancelButton_, &QPushButton::clicked, this, &WorkingDialog::requestCancel);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(launchButton_, &QPushButton::clicked, this, &WorkingDialog::launchOutput);
    connect(&progressTick_, &QTimer::timeout, this, &WorkingDialog::moveProgress);
    progressTick_.setInterval(kProgressTickMs);

    job_.prepare();
}

void WorkingDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (jobStarted_)
        return;
    jobStarted_ = true;
    // Started from the event loop rather than here, so that the dialog is
    // fully shown and the run's own event processing is not nested inside
    // the show.
    QTimer::singleShot(0, this, &WorkingDialog::startJob);
}

void WorkingDialog::startJob()
{
    job_.runJob();
}

void WorkingDialog::beginProgress()
{
    progressBar_->setRange(0, 100);
    progressTick_.start();
}

void WorkingDialog::endProgress()
{
    progressTick_.stop();
}

void WorkingDialog::setProgress(int percent)
{
    progressBar_->setValue(percent);
}

void WorkingDialog::showError(std::string_view message)
{
    messages_.warn(message);
}

void WorkingDialog::moveProgress()
{
    progressBar_->setValue(job_.overallPercent());
}

void WorkingDialog::showOutcome(JobOutcome outcome)
{
    finished_ = true;
    cancelButton_->hide();
    okButton_->show();
    okButton_->setFocus();

    if (outcome != JobOutcome::Succeeded) {
        cancelledText_->setVisible(outcome == JobOutcome::Cancelled);
        failedText_->setVisible(outcome == JobOutcome::Failed);
        return;
    }
    succeededText_->show();
    launchButton_->show();
    pageLine_->setText(resultLine("Created web page", job_.pageFileName()));
    streamLine_->setText(resultLine("Created Flash streaming animation", job_.streamFileName()));
    if (environment_.settings.outputMode == OutputMode::Controller)
        controllerLine_->setText(
            resultLine("Created Flash controller animation", job_.controllerFileName()));
}

void WorkingDialog::requestCancel()
{
    environment_.status.cancelRequested = true;
}

void WorkingDialog::reject()
{
    if (finished_)
        QDialog::reject();
    else
        requestCancel();
}

void WorkingDialog::launchOutput()
{
    if (!launchPage({job_.outputDir(), job_.pageFileName(), job_.outputNames()}, environment_.settings.webPlayer,
                    environment_.context.programFolder, pageServer_, opener_))
        environment_.messages.warn("Error: Could not launch the web page with the default browser.");
}

} // namespace orvalin
