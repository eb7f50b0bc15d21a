#pragma once

#include "job/JobHost.h"
#include "platform/MessagePump.h"

#include <chrono>

namespace orvalin {

struct JobStatus;
class ConversionJob;

// Where a command-line run's progress is shown while the run goes on.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void show(int percent, int stageIndex) = 0;
    // The run is over: what shows it gives way to what follows.
    virtual void clear() = 0;
};

// Passes a run's progress to its view at most every tick, and turns Ctrl-C,
// a closed terminal (SIGHUP) and SIGTERM into a cancel of the run.
class ConsoleProgress final : public JobHost, public MessagePump {
public:
    // Without a view, nothing is shown.
    ConsoleProgress(JobStatus& status, ProgressView* view);

    // The job whose progress is shown; set before the run starts.
    void follow(const ConversionJob& job) { job_ = &job; }

    void pumpMessages() override;

    void beginProgress() override;
    void endProgress() override;
    void setProgress(int percent) override;
    void showError(std::string_view message) override;
    void showOutcome(JobOutcome) override {}

private:
    JobStatus& status_;
    ProgressView* view_;
    const ConversionJob* job_ = nullptr;
    bool ticking_ = false;
    std::chrono::steady_clock::time_point lastShown_;
};

// Installs the handler of those signals; true once one of them came.
void watchForInterrupt();
bool interruptRequested();

} // namespace orvalin
