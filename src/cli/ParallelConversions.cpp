#include "cli/ParallelConversions.h"

#include "cli/ConvertCommand.h"
#include "common/OutputNames.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvalin {
namespace {

constexpr auto kTick = std::chrono::milliseconds(100);
constexpr std::size_t kShownNameLength = 40;

struct Pipe {
    Descriptor read, write;
};

std::optional<Pipe> makePipe()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    return Pipe{Descriptor(ends[0]), Descriptor(ends[1])};
}

// Appends what can be read now; at the end, or on an error, the descriptor is
// closed.
void readAvailable(Descriptor& from, std::string& into)
{
    char buffer[4096];
    const ssize_t got = ::read(from.get(), buffer, sizeof buffer);
    if (got > 0)
        into.append(buffer, static_cast<std::size_t>(got));
    else if (got == 0 || errno != EINTR)
        from.reset();
}

std::string shownName(const std::string& input)
{
    const std::string name = input.substr(input.find_last_of('/') + 1);
    return name.size() > kShownNameLength ? name.substr(0, kShownNameLength - 3) + "..." : name;
}

} // namespace

ParallelConversions::ParallelConversions(int jobs, bool showProgress, ChildRun childRun)
    : jobs_(static_cast<std::size_t>(jobs)), showProgress_(showProgress), childRun_(std::move(childRun))
{
}

int ParallelConversions::convert(const std::vector<std::string>& inputs, std::optional<int> firstNumber)
{
    inputs_ = &inputs;
    nextNumber_ = firstNumber;
    ended_.assign(inputs.size(), std::nullopt);
    std::size_t next = 0;
    bool interruptPassedOn = false;
    for (;;) {
        if (interruptRequested() && !interruptPassedOn) {
            interruptPassedOn = true;
            launching_ = false;
            for (const auto& child : running_)
                kill(child.pid, SIGTERM);
        }
        // Only once the youngest run holds its number, or has ended without
        // one, may the next take the one after.
        const bool youngestSettled = running_.empty() || running_.back().reserved || !running_.back().reports;
        if (launching_ && next < inputs.size() && running_.size() < jobs_ && youngestSettled) {
            launch(next++);
            continue;
        }
        if (running_.empty())
            break;
        awaitChildren();
        passOnEnded();
        showProgress();
    }
    if (showProgress_)
        bars_.clear();
    passOnEnded();
    if (interruptRequested())
        return kCancelled;
    int status = kAllConverted;
    for (const auto& ended : ended_)
        status = ended ? worseExitStatus(status, ended->status) : status;
    return status;
}

void ParallelConversions::launch(std::size_t index)
{
    auto reports = makePipe();
    auto out = makePipe();
    auto err = makePipe();
    // Text still buffered here would otherwise be written by the child too.
    std::cout.flush();
    std::fflush(nullptr);
    const pid_t pid = reports && out && err ? fork() : -1;
    if (pid < 0) {
        ended_[index] = Ended{"", "Error: Cannot start a conversion.\n", kConversionFailed};
        return;
    }
    if (pid == 0) {
        // The parent passes the text on; there is no terminal to answer a
        // question on, and a parent that has gone must not end the run.
        std::signal(SIGPIPE, SIG_IGN);
        const Descriptor nothing(::open("/dev/null", O_RDONLY | O_CLOEXEC));
        dup2(nothing.get(), STDIN_FILENO);
        dup2(out->write.get(), STDOUT_FILENO);
        dup2(err->write.get(), STDERR_FILENO);
        RunReporter reporter(std::move(reports->write));
        const int status = childRun_((*inputs_)[index], nextNumber_, reporter);
        std::cout.flush();
        std::fflush(nullptr);
        _exit(status);
    }
    running_.push_back({.index = index, .pid = pid, .reports = std::move(reports->read), .out = std::move(out->read),
                        .err = std::move(err->read)});
}

void ParallelConversions::awaitChildren()
{
    std::vector<pollfd> polled;
    for (auto& child : running_)
        for (const Descriptor* end : {&child.reports, &child.out, &child.err})
            if (*end)
                polled.push_back({end->get(), POLLIN, 0});
    poll(polled.data(), polled.size(), static_cast<int>(kTick.count())); // a signal ends it early
    std::size_t at = 0;
    for (auto& child : running_) {
        for (auto [end, text] : {std::pair{&child.reports, &child.reportBytes}, {&child.out, &child.outText},
                                 {&child.err, &child.errText}}) {
            if (*end && polled[at++].revents != 0)
                readAvailable(*end, *text);
        }
        for (const RunReport& report : takeReports(child.reportBytes))
            note(child, report);
    }
    collectEnded();
}

void ParallelConversions::note(Child& child, const RunReport& report)
{
    switch (report.kind) {
    case RunReport::Accepted:
        child.accepted = true;
        if (nextNumber_)
            nextNumber_ = nextOutputNumberAfter(*nextNumber_);
        break;
    case RunReport::Reserved:
        child.reserved = true;
        break;
    case RunReport::Progress:
        child.percent = report.percent;
        child.stageIndex = report.stageIndex;
        break;
    }
}

void ParallelConversions::collectEnded()
{
    for (auto child = running_.begin(); child != running_.end();) {
        if (child->reports || child->out || child->err) {
            ++child;
            continue;
        }
        int waitStatus = 0;
        pid_t waited;
        while ((waited = waitpid(child->pid, &waitStatus, 0)) < 0 && errno == EINTR) {
        }
        const bool exited = waited == child->pid && WIFEXITED(waitStatus);
        // A run that could not take its number would have ended the command
        // in turn: no more start.
        if (child->accepted && !child->reserved)
            launching_ = false;
        ended_[child->index] = Ended{std::move(child->outText), std::move(child->errText),
                                     exited ? WEXITSTATUS(waitStatus) : kConversionFailed};
        child = running_.erase(child);
    }
}

void ParallelConversions::passOnEnded()
{
    for (; passedOn_ < ended_.size() && ended_[passedOn_]; ++passedOn_) {
        if (showProgress_)
            bars_.clear();
        std::cerr << ended_[passedOn_]->errText << std::flush;
        std::cout << ended_[passedOn_]->outText << std::flush;
    }
}

void ParallelConversions::showProgress()
{
    const auto now = std::chrono::steady_clock::now();
    if (!showProgress_ || now - lastShown_ < kTick)
        return;
    lastShown_ = now;
    std::vector<std::string> lines;
    for (const auto& child : running_)
        lines.push_back(progressText(child.percent, child.stageIndex) + "  " + shownName((*inputs_)[child.index]));
    bars_.show(lines);
}

} // namespace orvalin
