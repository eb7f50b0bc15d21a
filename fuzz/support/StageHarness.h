#pragma once

#include "FuzzFiles.h"

#include "common/JobStatus.h"
#include "common/StageResult.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orvalin::fuzz {

// A stage run on the fuzzer's bytes as the job runs it: the bytes as its
// input file, a fresh status, a pump that never cancels, and its output in a
// folder of its own. After every run it checks what holds of any stage: one
// that succeeds ends at 100 percent, and the output, with nothing beside it,
// is left exactly when the stage succeeds.
class StageHarness {
public:
    using Stage = std::function<StageResult(JobStatus& status, MessagePump& pump, const std::string& inputPath,
                                            const std::string& outputPath)>;

    StageHarness(std::string outputName, Stage stage);

    StageResult run(const std::uint8_t* data, std::size_t size);

    // Of the last run.
    const JobStatus& status() const { return status_; }
    std::vector<std::uint8_t> output() const { return readWholeFile(folder_.file(outputName_)); }

private:
    MemoryFile input_;
    ScratchFolder folder_;
    std::string outputName_;
    Stage stage_;
    JobStatus status_;
};

} // namespace orvalin::fuzz
