#pragma once

#include <string>
#include <utility>

namespace orvalin {

enum class JobOutcome { Succeeded, Failed, Cancelled };

// How one stage of a run ended; a failure carries the message the user sees.
struct StageResult {
    JobOutcome outcome = JobOutcome::Succeeded;
    std::string errorText; // without a prefix

    static StageResult failure(std::string text) { return {JobOutcome::Failed, std::move(text)}; }
    static StageResult cancelled() { return {JobOutcome::Cancelled, {}}; }

    bool succeeded() const { return outcome == JobOutcome::Succeeded; }
    bool failed() const { return outcome == JobOutcome::Failed; }
};

} // namespace orvalin
