#include "audio/StageOutput.h"

#include "platform/Files.h"

namespace orvalin {

StageResult finishStage(bool cancelled, std::optional<std::string> failure, const InputFile& input,
                        OutputFile& output, const std::string& outputPath, StageIoErrors errors)
{
    const bool written = output.close();
    StageResult result;
    if (cancelled)
        result = StageResult::cancelled();
    else if (failure)
        result = StageResult::failure(std::move(*failure));
    else if (input.readFailed())
        result = StageResult::failure(std::string(errors.readFailed));
    else if (!written)
        result = StageResult::failure(std::string(errors.writeFailed));
    if (!result.succeeded())
        removeFile(outputPath);
    return result;
}

} // namespace orvalin
