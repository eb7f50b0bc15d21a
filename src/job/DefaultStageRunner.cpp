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
    Mp3DecodeStage stage(status_, pump_, programFolder_);
    stage.setWavPath(wavPath);
    stage.setMp3Path(mp3Path);
    return stage.run();
}

StageResult DefaultStageRunner::encode(const std::string& wavPath, const std::string& mp3Path,
                                       int bitrate, int sampleRate, Mp3ChannelMode channelMode)
{
    Mp3EncodeStage stage(status_, pump_, programFolder_);
    stage.setWavPath(wavPath);
    stage.setMp3Path(mp3Path);
    return stage.run(static_cast<unsigned>(bitrate), static_cast<unsigned>(sampleRate), channelMode);
}

StageResult DefaultStageRunner::writeAnimation(const std::string& mp3Path,
                                               const std::string& swfPath, float frameRate,
                                               int latencySeek)
{
    return SwfStreamWriter(status_, pump_).writeAnimation(mp3Path, swfPath, frameRate, latencySeek);
}

} // namespace orvalin
