#include "cli/ConsoleProgress.h"

#include "common/JobStatus.h"
#include "job/ConversionJob.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

namespace orvalin {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

constexpr auto kTick = std::chrono::milliseconds(100);
constexpr int kBarWidth = 30;

const char* stageName(int stageIndex)
{
    switch (stageIndex) {
    case ConversionJob::Decoding: return "Decoding";
    case ConversionJob::Encoding: return "Encoding";
    case ConversionJob::WritingAnimation: return "Writing animation";
    default: return "Preparing";
    }
}

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

ConsoleProgress::ConsoleProgress(JobStatus& status, bool showBar)
    : status_(status), showBar_(showBar)
{
}

void ConsoleProgress::pumpMessages()
{
    if (interrupted)
        status_.cancelRequested = true;
    if (!ticking_ || !showBar_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - lastDraw_ < kTick)
        return;
    lastDraw_ = now;
    draw(job_ ? job_->overallPercent() : 0);
}

void ConsoleProgress::beginProgress()
{
    ticking_ = true;
    lastDraw_ = {};
}

void ConsoleProgress::endProgress()
{
    ticking_ = false;
    if (showBar_)
        std::fputs("\r\033[K", stderr); // the bar gives way to what follows
}

void ConsoleProgress::setProgress(int) {}

void ConsoleProgress::showError(std::string_view message)
{
    std::cerr << message << '\n';
}

void ConsoleProgress::draw(int percent)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%%  %s\033[K", bar.c_str(), percent,
                 stageName(job_ ? job_->stageIndex() : 0));
    std::fflush(stderr);
}

} // namespace orvalin
