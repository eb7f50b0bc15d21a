#pragma once

#include "common/StageResult.h"

#include <string_view>

namespace orvalin {

// What a conversion job asks of the window (or console) that shows it.
class JobHost {
public:
    virtual ~JobHost() = default;

    // The progress range becomes 0 to 100 and the progress tick starts.
    virtual void beginProgress() = 0;
    // The progress tick stops.
    virtual void endProgress() = 0;
    virtual void setProgress(int percent) = 0;
    // A stage's failure ("Error: " and its message), shown before the run
    // ends.
    virtual void showError(std::string_view message) = 0;
    virtual void showOutcome(JobOutcome outcome) = 0;
};

} // namespace orvalin
