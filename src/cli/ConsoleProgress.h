#pragma once

#include "job/JobHost.h"
#include "platform/MessagePump.h"

#include <chrono>

namespace orvalin {

struct JobStatus;
class ConversionJob;

// Shows a run's progress as a bar with the stage's name on standard error
// (when that is a terminal), and turns Ctrl-C, a closed terminal (SIGHUP) and
// SIGTERM into a cancel of the run.
class ConsoleProgress final : public JobHost, public MessagePump {
public:
    ConsoleProgress(JobStatus& status, bool showBar);

    // The job whose stage the bar names; set before the run starts.
    void follow(const ConversionJob& job) { job_ = &job; }

    void pumpMessages() override;

    void beginProgress() override;
    void endProgress() override;
    void setProgress(int percent) override;
    void showError(std::string_view message) override;
    void showOutcome(JobOutcome) override {}

private:
    void draw(int percent);

    JobStatus& status_;
    const ConversionJob* job_ = nullptr;
    bool showBar_;
    bool ticking_ = false;
    std::chrono::steady_clock::time_point lastDraw_;
};

// Installs the handler of those signals; true once one of them came.
void watchForInterrupt();
bool interruptRequested();

} // namespace orvalin
