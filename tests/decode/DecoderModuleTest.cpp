#include "audio/DecoderInterface.h"
#include "audio/MpegFrameHeader.h"
#include "platform/RuntimeModule.h"
#include "DecodeTestAudio.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace orvalin {
namespace {

using Bytes = std::vector<std::uint8_t>;

const std::string kModulePath = std::string(ORVALIN_PROGRAM_FOLDER) + moduleFileName("decoder");

// The frames of a file that holds nothing else, cut by their headers.
std::vector<Bytes> framesOf(const Bytes& file)
{
    std::vector<Bytes> frames;
    std::size_t at = 0;
    while (at + 4 <= file.size() && file[at] == 0xFF) {
        const auto length = static_cast<std::size_t>(parseMpegHeader(file[at + 1], file[at + 2], file[at + 3]).lengthWithPadding());
        if (at + length > file.size())
            break;
        frames.emplace_back(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at + length));
        at += length;
    }
    return frames;
}

// Drives the module as the decode stage does and checks every call against
// the contract on the way.
class DecoderModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto loaded = RuntimeModule::load(kModulePath);
        ASSERT_TRUE(loaded) << kModulePath;
        module = std::make_unique<RuntimeModule>(std::move(*loaded));
        init = module->entryPoint<InitMp3Function>("InitMP3");
        decode = module->entryPoint<DecodeMp3Function>("DecodeMP3");
        exit = module->entryPoint<ExitMp3Function>("ExitMP3");
        ASSERT_TRUE(init && decode && exit);
        ASSERT_EQ(init(state.get()), 1);
    }

    void TearDown() override
    {
        if (exit)
            exit(state.get());
    }

    // The PCM of one frame; each piece at most the capacity, whole samples.
    Bytes decodeFrame(const Bytes& frame, int channels)
    {
        Bytes pcm;
        int done = -1;
        int result = decode(state.get(), frame.data(), static_cast<int>(frame.size()), output, kDecoderOutputCapacity, &done);
        for (int calls = 0; result == kDecodeOk; ++calls) {
            EXPECT_LT(calls, 10) << "the frame's output never ends";
            if (calls >= 10)
                break;
            EXPECT_GE(done, 0);
            EXPECT_LE(done, kDecoderOutputCapacity);
            EXPECT_EQ(done % (2 * channels), 0);
            pcm.insert(pcm.end(), output, output + done);
            result = decode(state.get(), nullptr, 0, output, kDecoderOutputCapacity, &done);
        }
        return pcm;
    }

    Bytes decodeAll(const std::vector<Bytes>& frames, int channels)
    {
        Bytes pcm;
        for (const Bytes& frame : frames) {
            const Bytes piece = decodeFrame(frame, channels);
            pcm.insert(pcm.end(), piece.begin(), piece.end());
        }
        return pcm;
    }

    test::TestFolder folder;
    std::unique_ptr<RuntimeModule> module;
    InitMp3Function* init = nullptr;
    DecodeMp3Function* decode = nullptr;
    ExitMp3Function* exit = nullptr;
    std::unique_ptr<DecoderStateBlock> state = std::make_unique<DecoderStateBlock>();
    unsigned char output[kDecoderOutputCapacity];
};

TEST_F(DecoderModuleTest, EachAudioFrameGivesOneFramesWorthOfSamples)
{
    test::TestTone tone;
    const auto frames = framesOf(test::readBytes(test::encodeWithLame(folder, "cbr", tone, "-b 128 -t")));
    ASSERT_GT(frames.size(), 30u);
    // Without an Info frame nothing is cut: every frame is 1,152 stereo samples.
    for (std::size_t i = 0; i < frames.size(); ++i)
        EXPECT_EQ(decodeFrame(frames[i], 2).size(), 1152u * 4) << "frame " << i;
}

TEST_F(DecoderModuleTest, InfoFrameGivesNoSoundAndTrimsToTheInputLength)
{
    test::TestTone tone;
    tone.channels = 1;
    const auto frames = framesOf(test::readBytes(test::encodeWithLame(folder, "info", tone, "-b 96 -m m")));
    ASSERT_GT(frames.size(), 30u);
    EXPECT_TRUE(decodeFrame(frames[0], 1).empty());
    const std::vector<Bytes> rest(frames.begin() + 1, frames.end());
    EXPECT_EQ(decodeAll(rest, 1).size(), 44100u * 2);
}

// Bytes that carry no usable header are refused and leave the decoder where
// it was: the frames around them decode exactly as without them.
TEST_F(DecoderModuleTest, FramesWithoutAHeaderAreRefusedWithoutHarm)
{
    test::TestTone tone;
    const auto frames = framesOf(test::readBytes(test::encodeWithLame(folder, "junk", tone, "-b 128 -t")));
    const Bytes expected = decodeAll(frames, 2);
    exit(state.get());
    init(state.get());

    const std::vector<Bytes> junk = {
        Bytes(417, 0),                                  // no sync
        {0xFF, 0x00, 0x00, 0x00, 0x00},                 // eleventh sync bit missing
        {0xFF, 0xFB, 0xF0, 0x44, 0x00, 0x00},           // bitrate index 15
        {0xFF, 0xFB, 0x0C, 0x44, 0x00, 0x00},           // sample rate index 3
        {0xFF, 0xF9, 0x90, 0x44, 0x00, 0x00},           // layer 0
    };
    Bytes pcm;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Bytes piece = decodeFrame(frames[i], 2);
        pcm.insert(pcm.end(), piece.begin(), piece.end());
        if (i % 7 == 3) {
            const Bytes& bad = junk[i % junk.size()];
            int done = -1;
            EXPECT_NE(decode(state.get(), bad.data(), static_cast<int>(bad.size()), output, kDecoderOutputCapacity, &done), kDecodeOk);
            EXPECT_EQ(done, 0);
        }
    }
    EXPECT_TRUE(pcm == expected);
}

TEST(DecoderModuleExports, OnlyTheThreeEntryPoints)
{
    std::istringstream symbols(test::captureCommand("nm -D --defined-only " + test::shellQuote(kModulePath)));
    std::vector<std::string> exported;
    for (std::string address, type, name; symbols >> address >> type >> name;)
        exported.push_back(name);
    std::sort(exported.begin(), exported.end());
    EXPECT_EQ(exported, (std::vector<std::string>{"DecodeMP3", "ExitMP3", "InitMP3"}));
}

} // namespace
} // namespace orvalin
