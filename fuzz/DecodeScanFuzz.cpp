// The decode stage's frame scan over arbitrary MP3 bytes, through the real
// decoder module.
#include "support/FuzzCheck.h"
#include "support/StageHarness.h"

#include "audio/Mp3DecodeStage.h"
#include "audio/PcmWavHeader.h"

#include <algorithm>
#include <cstring>

using namespace orvalin;

namespace {

// A WAV the stage leaves behind is a complete 16-bit PCM file whose sizes
// match what it holds.
void checkWav(const std::vector<std::uint8_t>& wav)
{
    fuzz::check(wav.size() >= kPcmWavHeaderSize, "the WAV holds its header");
    fuzz::check(std::memcmp(wav.data(), "RIFF", 4) == 0 && std::memcmp(wav.data() + 8, "WAVE", 4) == 0,
                "the WAV starts with its marks");
    fuzz::check(fuzz::littleEndian(wav, kRiffSizeOffset, 4) == wav.size() - 8,
                "the RIFF size matches the file");
    const std::uint32_t dataSize = fuzz::littleEndian(wav, kDataSizeOffset, 4);
    fuzz::check(dataSize == wav.size() - kPcmWavHeaderSize, "the data size matches the file");
    fuzz::check(dataSize <= kMaxPcmDataBytes, "the data stays within the size limit");
    const std::uint32_t channels = fuzz::littleEndian(wav, 22, 2);
    fuzz::check(channels == 1 || channels == 2, "the WAV has one or two channels");
    const std::uint32_t rate = fuzz::littleEndian(wav, 24, 4);
    fuzz::check(rate >= 8000 && rate <= 48000, "the WAV rate is an MPEG rate");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::StageHarness harness("out.wav", [](JobStatus& status, MessagePump& pump, const std::string& mp3,
                                                    const std::string& wav) {
        return Mp3DecodeStage(status, pump, ORVALIN_PROGRAM_FOLDER).run(mp3, wav);
    });
    const StageResult result = harness.run(data, size);
    fuzz::check(harness.status().stagePercent == 100, "the stage ends at 100 percent");
    // A readable input either gives sound or fails for having none.
    fuzz::check(!result.failed() || result.errorText == "No sound to encode.",
                "a readable input fails only for having no sound");
    const bool hasFrameStart = std::find(data, data + size, 0xFF) != data + size;
    if (!hasFrameStart)
        fuzz::check(result.failed(), "there is no sound without a frame");
    if (result.succeeded())
        checkWav(harness.output());
    return 0;
}
