#pragma once

#include "job/JobHost.h"
#include "platform/MessageBoxes.h"

#include <string>
#include <vector>

namespace orvalin::test {

// Records what a job asks of its window; errors are also shown in the given
// message boxes, as a front end shows them.
class RecordingHost final : public JobHost {
public:
    explicit RecordingHost(MessageBoxes* errorsShownIn = nullptr) : errorsShownIn_(errorsShownIn) {}

    void beginProgress() override { events.push_back("begin"); }
    void endProgress() override { events.push_back("end"); }
    void setProgress(int percent) override { events.push_back("progress " + std::to_string(percent)); }
    void showError(std::string_view message) override
    {
        events.push_back(std::string(message));
        if (errorsShownIn_)
            errorsShownIn_->warn(message);
    }
    void showOutcome(JobOutcome outcome) override
    {
        events.push_back("outcome");
        outcomes.push_back(outcome);
    }

    std::vector<std::string> events;
    std::vector<JobOutcome> outcomes;

private:
    MessageBoxes* errorsShownIn_;
};

} // namespace orvalin::test
