#pragma once

#include "cli/ConsoleProgress.h"
#include "platform/Descriptor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin {

// What a run in a child process tells the parent of parallel runs, on a pipe.
struct RunReport {
    enum Kind : std::uint8_t {
        Accepted = 'a', // the input passed its check
        Reserved = 'r', // the output number is the run's own
        Progress = 'p',
    };
    Kind kind;
    std::uint8_t percent = 0;
    std::uint8_t stageIndex = 0;
};

// The child's end of the pipe. Each report is written in one piece, which a
// pipe delivers whole.
class RunReporter final : public ProgressView {
public:
    explicit RunReporter(Descriptor pipe) : pipe_(std::move(pipe)) {}

    void send(RunReport report);

    void show(int percent, int stageIndex) override;
    void clear() override {}

private:
    Descriptor pipe_;
};

// Takes the whole reports off the front of bytes read from the pipe.
std::vector<RunReport> takeReports(std::string& bytes);

} // namespace orvalin
