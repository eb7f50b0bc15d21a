#pragma once

#include "common/OutputChoices.h"
#include "common/StageResult.h"

#include <string>

namespace orvalin {

// Runs the audio stages of a conversion, each a fresh object for its step.
// Every stage reads cancel from and reports progress to the job's JobStatus,
// returns how it ended, and removes its own output when it did not succeed.
class StageRunner {
public:
    virtual ~StageRunner() = default;

    virtual StageResult decode(const std::string& mp3Path, const std::string& wavPath) = 0;

    virtual StageResult encode(const std::string& wavPath, const std::string& mp3Path,
                               int bitrate, int sampleRate, Mp3ChannelMode channelMode) = 0;

    virtual StageResult writeAnimation(const std::string& mp3Path, const std::string& swfPath) = 0;
};

} // namespace orvalin
