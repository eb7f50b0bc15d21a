#pragma once

#include "job/JobStatus.h"
#include "job/StageRunner.h"

namespace orvalin {

// Stands in for the audio stages until they are part of the build: every run
// fails at its first stage with a message that says so.
class UnavailableStages final : public StageRunner {
public:
    explicit UnavailableStages(JobStatus& status) : status_(status) {}

    void decode(const std::string&, const std::string&) override { fail(); }
    void encode(const std::string&, const std::string&, int, int, int) override { fail(); }
    void writeAnimation(const std::string&, const std::string&, float, int) override { fail(); }

private:
    void fail() { status_.fail("The audio conversion is not part of this build."); }

    JobStatus& status_;
};

} // namespace orvalin
