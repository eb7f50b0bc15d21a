#pragma once

#include "job/ConversionJob.h"
#include "job/JobHost.h"
#include "ui/DesktopServices.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orvalin {


// The modal dialog a conversion runs in: it starts the run once it is on the
// screen, moves the bar every 100 ms, carries Cancel, and at the end shows the
// outcome, the files made and a button that opens the page.
class WorkingDialog final : public QDialog, public JobHost {
    Q_OBJECT

public:
    static constexpr int kProgressTickMs = 100;

    explicit WorkingDialog(const DesktopServices& services, QWidget* parent = nullptr);

    void beginProgress() override;
    void endProgress() override;
    void setProgress(int percent) override;
    void showError(std::string_view message) override;
    void showOutcome(JobOutcome outcome) override;

    // Esc and the window's close command (which comes here too): during a
    // run they ask the run to stop, and the dialog stays until it is over.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void startJob();
    void moveProgress();
    void requestCancel();
    void launchOutput();

    JobEnvironment environment_;
    MessageBoxes& messages_;
    DocumentOpener& opener_;
    LocalPageServer& pageServer_;
    ConversionJob job_;
    bool jobStarted_ = false;
    bool finished_ = false;
    QTimer progressTick_;

    QProgressBar* progressBar_;
    QLabel* pageLine_;
    QLabel* streamLine_;
    QLabel* controllerLine_;
    QPushButton* cancelButton_;
    QPushButton* okButton_;
    QPushButton* launchButton_;
    QLabel* succeededText_;
    QLabel* failedText_;
    QLabel* cancelledText_;
};

} // namespace orvalin
