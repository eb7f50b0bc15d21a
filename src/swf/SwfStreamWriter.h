#pragma once

#include "common/StageResult.h"
#include "swf/BlockPlan.h"
#include "swf/StreamTiming.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvalin {

struct JobStatus;
class MessagePump;
class InputFile;
class OutputFile;
struct MpegFrameInfo;

// Packs the frames of an MP3 file, unchanged, into a version 4 Flash file
// that streams them: one Flash frame per 1/frameRate seconds of sound, each
// a SoundStreamBlock whose sample count and seek value keep the stream in
// time.
class SwfStreamWriter {
public:
    // At most this many Flash frames are written; the rest of a longer input
    // is left out.
    static constexpr int kMaxFlashFrames = 16000;

    SwfStreamWriter(JobStatus& status, MessagePump& pump);

    // Reads cancel from and reports progress to the job status; after a
    // failure or a cancel the animation file does not exist.
    StageResult writeAnimation(const std::string& mp3Path, const std::string& swfPath, StreamTiming timing = {});

private:
    struct Block {
        std::uint64_t lengthOffset = 0;
        std::uint64_t sampleCountOffset = 0;
        std::uint64_t seekOffset = 0;
        int plannedFrames = 0;
        int framesLeft = 0;
        int heldFrames = 0;
        int seekSamples = 0;
    };

    void writeFile(InputFile& input, OutputFile& output);
    void walkInput(InputFile& input, OutputFile& output);
    void packFrame(OutputFile& output, const MpegFrameInfo& info, std::span<const std::uint8_t> bytes);
    void endStream(OutputFile& output);
    void startStream(OutputFile& output, const MpegFrameInfo& firstFrame);
    void rollOver(OutputFile& output);
    void startBlock(OutputFile& output);
    void openBlock(OutputFile& output);
    void closeBlock(OutputFile& output, int sampleCount);
    void writeShowFrame(OutputFile& output);
    void setPercent(std::uint64_t nextPosition, std::uint64_t size);

    JobStatus& status_;
    MessagePump& pump_;

    StreamTiming timing_;
    int frameCount_ = 0;

    std::optional<swf::BlockPlan> plan_;
    bool blockOpen_ = false;
    Block block_;
};

} // namespace orvalin
