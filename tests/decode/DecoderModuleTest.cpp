// The decoder module through its entry points, driven as the decode stage
// drives it, every call checked against the contract on the way.

#include "CodedAudio.h"
#include "audio/DecoderInterface.h"
#include "platform/RuntimeModule.h"

#include <gtest/gtest.h>

#include <memory>

namespace orvalin {
namespace {

using test::Bytes;

const std::string kModulePath = std::string(ORVALIN_PROGRAM_FOLDER) + moduleFileName("decoder");

class DecoderModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(module) << kModulePath;
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

    // The PCM of one frame: pieces of whole samples, each at most the capacity.
    Bytes decodeFrame(const Bytes& frame, int channels)
    {
        Bytes pcm;
        int done = -1;
        int result = decode(state.get(), frame.data(), static_cast<int>(frame.size()), output, kDecoderOutputCapacity, &done);
        for (int calls = 0; result == kDecodeOk && calls < 10; ++calls) {
            EXPECT_GE(done, 0);
            EXPECT_LE(done, kDecoderOutputCapacity);
            EXPECT_EQ(done % (2 * channels), 0);
            pcm.insert(pcm.end(), output, output + done);
            result = decode(state.get(), nullptr, 0, output, kDecoderOutputCapacity, &done);
        }
        EXPECT_EQ(result, kDecodeFrameDone);
        return pcm;
    }

    test::TestFolder folder;
    std::optional<RuntimeModule> module = RuntimeModule::load(kModulePath);
    InitMp3Function* init = nullptr;
    DecodeMp3Function* decode = nullptr;
    ExitMp3Function* exit = nullptr;
    std::unique_ptr<DecoderStateBlock> state = std::make_unique<DecoderStateBlock>();
    unsigned char output[kDecoderOutputCapacity];
};

TEST(DecoderModuleFile, ExportsOnlyTheThreeEntryPoints)
{
    const std::string command = "nm -D --defined-only " + test::shellQuote(kModulePath) + " | awk '{print $3}' | LC_ALL=C sort";
    EXPECT_EQ(test::captureCommand(command), "DecodeMP3\nExitMP3\nInitMP3\n");
}

// Bytes without a usable header are refused and leave the decoder where it
// was: the frames around them decode exactly as without them.
TEST_F(DecoderModuleTest, EachFrameGivesItsSamplesAndWhatIsNoFrameIsRefusedWithoutHarm)
{
    const auto frames = test::mpegFrames(test::readBytes(test::lameMp3(folder, "tone", {}, "-b 128 -t")));
    ASSERT_GT(frames.size(), 30u);
    Bytes clean;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        // Without an Info frame nothing is cut: every frame is 1,152 stereo samples.
        const Bytes pcm = decodeFrame(frames[i], 2);
        EXPECT_EQ(pcm.size(), 1152u * 4) << "frame " << i;
        clean.insert(clean.end(), pcm.begin(), pcm.end());
    }
    exit(state.get());
    init(state.get());

    Bytes noSync = frames[0];
    noSync[0] = 0xFE;
    const std::vector<Bytes> junk = {
        noSync,
        {0xFF, 0x00, 0x00, 0x00, 0x00},       // eleventh sync bit missing
        {0xFF, 0xFB, 0xF0, 0x44, 0x00, 0x00}, // bitrate index 15
        {0xFF, 0xFB, 0x00, 0x44, 0x00, 0x00}, // free format
        {0xFF, 0xFB, 0x0C, 0x44, 0x00, 0x00}, // sample rate index 3
        {0xFF, 0xF9, 0x90, 0x44, 0x00, 0x00}, // layer 0
        {0xFF, 0xEB, 0x90, 0x44, 0x00, 0x00}, // version 01
        {0xFF, 0xFB, 0x90},                   // shorter than a header
    };
    Bytes pcm;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Bytes piece = decodeFrame(frames[i], 2);
        pcm.insert(pcm.end(), piece.begin(), piece.end());
        if (i < junk.size()) {
            int done = -1;
            const int size = static_cast<int>(junk[i].size());
            EXPECT_EQ(decode(state.get(), junk[i].data(), size, output, kDecoderOutputCapacity, &done), kDecodeError) << i;
            EXPECT_EQ(done, 0);
        }
    }
    EXPECT_TRUE(pcm == clean);

    int done = -1;
    const unsigned char* frame = frames[5].data();
    const int size = static_cast<int>(frames[5].size());
    EXPECT_EQ(decode(state.get(), nullptr, size, output, kDecoderOutputCapacity, &done), kDecodeError);
    EXPECT_EQ(decode(state.get(), frame, size, nullptr, kDecoderOutputCapacity, &done), kDecodeError);
    EXPECT_EQ(decode(state.get(), frame, size, output, 0, &done), kDecodeError);
    EXPECT_EQ(decode(state.get(), frame, size, output, kDecoderOutputCapacity, nullptr), kDecodeError);
}

} // namespace
} // namespace orvalin
