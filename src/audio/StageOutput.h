#pragma once

#include "common/StageResult.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvalin {

class InputFile;
class OutputFile;

// What a stage says when its input cannot be read or its output written.
struct StageIoErrors {
    std::string_view readFailed;
    std::string_view writeFailed;
};

// Closes a stage's output and settles how the stage ended, in one order for
// every stage: a cancel, then the stage's own failure, then a read error,
// then a write error. Only a stage that succeeded keeps its output.
StageResult finishStage(bool cancelled, std::optional<std::string> failure, const InputFile& input,
                        OutputFile& output, const std::string& outputPath, StageIoErrors errors);

} // namespace orvalin
