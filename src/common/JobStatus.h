#pragma once

namespace orvalin {

// Progress and cancel of the running conversion, shared by the job, its
// stages and the dialog that shows it: the stages report progress and read
// the cancel, which the dialog sets. How a run ended is its outcome.
struct JobStatus {
    int stagePercent = 0;
    bool cancelRequested = false;
};

} // namespace orvalin
