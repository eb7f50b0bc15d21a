#pragma once

#include "cli/ProgressBars.h"
#include "cli/RunReports.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvalin {

// Converts inputs in child processes, several at once. The children take
// their output numbers in input order, one after the other. What each one
// writes to its standard output and error is passed on whole, in input order,
// once it has ended, so the text is the same as when the inputs are
// converted in turn; on a terminal, the running inputs' progress is shown
// below it, a line each. An interrupt is passed on to every child.
class ParallelConversions {
public:
    // One input's whole run, in a child process that reports on it to the
    // parent; returns the child's exit status.
    using ChildRun = std::function<int(const std::string& input, std::optional<int> chosenNumber,
                                       RunReporter& reporter)>;

    ParallelConversions(int jobs, bool showProgress, ChildRun childRun);

    // The exit status of all runs together: cancelled when interrupted, else
    // the worst of theirs. A chosen first number goes to the first input that
    // passes its check, and counts up from there.
    int convert(const std::vector<std::string>& inputs, std::optional<int> firstNumber);

private:
    struct Child {
        std::size_t index;
        pid_t pid;
        Descriptor reports, out, err; // the parent's ends, until the child closes its own
        std::string reportBytes{}, outText{}, errText{};
        bool accepted = false;
        bool reserved = false;
        int percent = 0;
        int stageIndex = 0;
    };
    struct Ended {
        std::string outText, errText;
        int status;
    };

    void launch(std::size_t index);
    // Takes what the children wrote, waiting at most a tick for it, and
    // collects those that have ended.
    void awaitChildren();
    void note(Child& child, const RunReport& report);
    void collectEnded();
    void passOnEnded();
    void showProgress();

    std::size_t jobs_;
    bool showProgress_;
    ChildRun childRun_;
    const std::vector<std::string>* inputs_ = nullptr;
    std::optional<int> nextNumber_;
    bool launching_ = true;
    std::vector<Child> running_; // in input order
    std::vector<std::optional<Ended>> ended_;
    std::size_t passedOn_ = 0;
    TerminalBars bars_;
    std::chrono::steady_clock::time_point lastShown_;
};

} // namespace orvalin
