#pragma once

#include "job/JobHost.h"

#include <string>
#include <vector>

namespace orvalin::test {

// Records what a job asks of its window.
class RecordingHost final : public JobHost {
public:
    void beginProgress() override { events.push_back("begin"); }
    void endProgress() override { events.push_back("end"); }
    void setProgress(int percent) override { events.push_back("progress " + std::to_string(percent)); }
    void showOutcome(JobOutcome outcome) override
    {
        events.push_back("outcome");
        outcomes.push_back(outcome);
    }

    std::vector<std::string> events;
    std::vector<JobOutcome> outcomes;
};

} // namespace orvalin::test
