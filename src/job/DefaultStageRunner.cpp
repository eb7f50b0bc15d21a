#include "job/DefaultStageRunner.h"

#include "audio/Mp3DecodeStage.h"
#include "audio/Mp3EncodeStage.h"
#include "swf/SwfStreamWriter.h"

namespace orvalin {

DefaultStageRunner::DefaultStageRunner(JobStatus& status, MessagePump& pump,
                                       std::string programFolder)
    : status_(status), pump_(pump), programFolder_(std::move(programFolder))
{
}

StageResult DefaultStageRunner::decode(const std::string& mp3Path, const std::string& wavPath)
{
    return Mp3DecodeStage(status_, pump_, programFolder_).run(mp3Path, wavPath);
}

StageResult DefaultStageRunner::encode(const std::string& wavPath, const std::string& mp3Path,
                                       int bitrate, int sampleRate, Mp3ChannelMode channelMode)
{
    return Mp3EncodeStage(status_, pump_, programFolder_)
        .run(wavPath, mp3Path, static_cast<unsigned>(bitrate), static_cast<unsigned>(sampleRate), channelMode);
}

StageResult DefaultStageRunner::writeAnimation(const std::string& mp3Path, const std::string& swfPath)
{
    return SwfStreamWriter(status_, pump_).writeAnimation(mp3Path, swfPath);
}

} // namespace orvalin
