#pragma once

#include "job/StageRunner.h"

#include <string>

namespace orvalin {

struct JobStatus;
class MessagePump;

// The real stages: the MP3 decoder, the LAME encoder (both loaded from the
// program folder) and the animation writer.
class DefaultStageRunner final : public StageRunner {
public:
    DefaultStageRunner(JobStatus& status, MessagePump& pump, std::string programFolder);

    StageResult decode(const std::string& mp3Path, const std::string& wavPath) override;
    StageResult encode(const std::string& wavPath, const std::string& mp3Path, int bitrate,
                       int sampleRate, Mp3ChannelMode channelMode) override;
    StageResult writeAnimation(const std::string& mp3Path, const std::string& swfPath) override;

private:
    JobStatus& status_;
    MessagePump& pump_;
    std::string programFolder_;
};

} // namespace orvalin
