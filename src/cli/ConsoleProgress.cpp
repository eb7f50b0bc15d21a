#include "cli/ConsoleProgress.h"

#include "common/JobStatus.h"
#include "job/ConversionJob.h"

#include <csignal>
#include <iostream>

namespace orvalin {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

constexpr auto kTick = std::chrono::milliseconds(100);

} // namespace

void watchForInterrupt()
{
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool interruptRequested()
{
    return interrupted != 0;
}

ConsoleProgress::ConsoleProgress(JobStatus& status, ProgressView* view) : status_(status), view_(view) {}

void ConsoleProgress::pumpMessages()
{
    if (interrupted)
        status_.cancelRequested = true;
    if (!ticking_ || !view_ || !job_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown_ < kTick)
        return;
    lastShown_ = now;
    view_->show(job_->overallPercent(), job_->stageIndex());
}

void ConsoleProgress::beginProgress()
{
    ticking_ = true;
    lastShown_ = {};
}

void ConsoleProgress::endProgress()
{
    ticking_ = false;
    if (view_)
        view_->clear();
}

void ConsoleProgress::setProgress(int) {}

void ConsoleProgress::showError(std::string_view message)
{
    std::cerr << message << '\n';
}

} // namespace orvalin
