#pragma once

#include <string>

namespace orvalin {

// Progress, cancel and failure of the running conversion, shared by the job,
// its stages and the dialog that shows it. The stages report progress and
// read the cancel; only the job records a failure.
struct JobStatus {
    int stagePercent = 0;
    bool cancelRequested = false;
    bool failed = false;
    std::string errorText; // the failing stage's message, without a prefix

    void fail(std::string message)
    {
        errorText = std::move(message);
        failed = true;
    }
};

} // namespace orvalin
