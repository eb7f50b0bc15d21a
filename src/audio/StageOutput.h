#pragma once

#include "common/StageResult.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvalin {

class InputFile;
class OutputFile;

// A run without sound would make a silent animation of a moment, which no
// one wants as a success: the stage that finds none says so.
inline constexpr const char* kNoSoundText = "No sound to encode.";

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
