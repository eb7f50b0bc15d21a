// The encode stage over arbitrary WAV bytes, through the real encoder module
// at the smallest bitrate and rate, so that each run stays short.
#include "support/FuzzCheck.h"
#include "support/StageHarness.h"

#include "audio/EncoderInterface.h"
#include "audio/Mp3EncodeStage.h"
#include "audio/MpegFrameHeader.h"

using namespace orvalin;

namespace {

// The MP3 is whole frames, back to back, each as long as its header says.
void checkFrames(const std::vector<std::uint8_t>& mp3)
{
    std::size_t offset = 0;
    while (offset < mp3.size()) {
        fuzz::check(offset + 4 <= mp3.size() && mp3[offset] == 0xFF && (mp3[offset + 1] & 0xE0) == 0xE0,
                    "each MP3 frame starts with a frame sync");
        const auto info = parseMpegHeader(mp3[offset + 1], mp3[offset + 2], mp3[offset + 3]);
        fuzz::check(info.sampleRate == 8000 && info.bitrate == 8, "frames have the asked rate and bitrate");
        offset += static_cast<std::size_t>(info.lengthWithPadding());
    }
    fuzz::check(offset == mp3.size(), "the last MP3 frame ends with the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::StageHarness harness("out.mp3", [](JobStatus& status, MessagePump& pump, const std::string& wav,
                                                    const std::string& mp3) {
        return Mp3EncodeStage(status, pump, ORVALIN_PROGRAM_FOLDER).run(wav, mp3, 8, 8000, Mp3ChannelMode::Mono);
    });
    if (harness.run(data, size).succeeded())
        checkFrames(harness.output());
    return 0;
}
