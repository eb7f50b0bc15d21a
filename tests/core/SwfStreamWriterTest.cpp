#include "swf/SwfStreamWriter.h"

#include "FakePlatform.h"
#include "Mp3Frames.h"
#include "SwfFile.h"
#include "TestAudio.h"
#include "TestFolder.h"
#include "job/JobStatus.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using test::FrameKind;
using test::SwfFile;

struct BlockPlan {
    int frames;
    int seekSamples;
};

class SwfStreamWriterTest : public ::testing::Test {
protected:
    SwfFile write(const std::vector<std::uint8_t>& mp3)
    {
        test::writeBytes(mp3Path, mp3);
        SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, 1.0f, 1680);
        EXPECT_FALSE(status.failed) << status.errorText;
        return test::parseSwf(test::readBytes(swfPath));
    }

    // Checks every block against the frames it must hold, and returns how
    // many MP3 frames each holds.
    std::vector<int> blockFrames(const SwfFile& swf, int frameLength, int samplesPerFrame)
    {
        std::vector<int> frames;
        for (const auto* block : swf.tagsWithCode(test::kSoundStreamBlockTag)) {
            EXPECT_TRUE(block->longHeader);
            const auto mp3Bytes = block->length - 4;
            EXPECT_EQ(mp3Bytes % frameLength, 0u);
            const int count = static_cast<int>(mp3Bytes / frameLength);
            EXPECT_EQ(static_cast<int>(test::readUi16(block->body, 0)), count * samplesPerFrame);
            frames.push_back(count);
        }
        return frames;
    }

    void expectPlan(const FrameKind& kind, int samplesPerFrame, const std::vector<BlockPlan>& plan)
    {
        int total = 0;
        for (const auto& block : plan)
            total += block.frames;
        const SwfFile swf = write(test::makeFrames(kind, total + 3));

        const auto frames = blockFrames(swf, kind.length, samplesPerFrame);
        const auto blocks = swf.tagsWithCode(test::kSoundStreamBlockTag);
        ASSERT_EQ(blocks.size(), plan.size() + 1);
        for (std::size_t i = 0; i < plan.size(); ++i) {
            EXPECT_EQ(frames[i], plan[i].frames) << "block " << i + 1;
            EXPECT_EQ(static_cast<int>(test::readUi16(blocks[i]->body, 2)), plan[i].seekSamples)
                << "block " << i + 1;
        }
        EXPECT_EQ(frames.back(), 3);
    }

    test::TestFolder folder;
    std::string mp3Path = folder.file("orvaln1.tmp3");
    std::string swfPath = folder.file("orvaln1s.swf");
    JobStatus status;
    test::ScriptedPump pump;
};

TEST_F(SwfStreamWriterTest, PlansBlocksToKeepOneSecondPerFlashFrame)
{
    expectPlan(test::kMpeg1Stereo128k44100, 1152,
               {{39, 1680}, {39, 852}, {38, 24}, {38, 348}, {38, 672}, {39, 996}, {38, 168}});
}

TEST_F(SwfStreamWriterTest, PlansBlocksAt22050Hz)
{
    expectPlan(test::kMpeg2Mono64k22050, 576, {{41, 1680}, {38, 114}, {38, 276}, {39, 438}});
}

TEST_F(SwfStreamWriterTest, PlansBlocksAt11025Hz)
{
    expectPlan(test::kMpeg25Stereo32k11025, 576, {{22, 1680}, {19, 33}, {19, 114}, {19, 195}});
}

TEST_F(SwfStreamWriterTest, WritesTheFileFrameAndStreamHeads)
{
    const SwfFile swf = write(test::makeFrames(test::kMpeg1Stereo128k44100, 100));
    EXPECT_EQ(swf.signature, "FWS");
    EXPECT_EQ(swf.version, 4);
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
    EXPECT_EQ(swf.frameRect, (std::vector<std::uint8_t>{0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40}));
    EXPECT_EQ(swf.bytes[14], 0x00);
    EXPECT_EQ(swf.bytes[15], 0x01);
    EXPECT_EQ(std::vector<std::uint8_t>(swf.bytes.begin() + 18, swf.bytes.begin() + 33),
              (std::vector<std::uint8_t>{0x43, 0x02, 0xFF, 0xFF, 0xFF, 0x86, 0x04, 0x0F, 0x2F, 0x44,
                                         0xAC, 0x90, 0x06, 0x40, 0x00}));

    // The frame count is every ShowFrame: the one after the stream head and one per block.
    const auto blocks = swf.tagsWithCode(test::kSoundStreamBlockTag);
    EXPECT_EQ(swf.tagsWithCode(test::kShowFrameTag).size(), blocks.size() + 1);
    EXPECT_EQ(swf.frameCount, static_cast<int>(blocks.size()) + 1);
    // The tags alternate block, ShowFrame, and the file ends in two End tags.
    EXPECT_EQ(swf.tags[3].code, test::kSoundStreamBlockTag);
    EXPECT_EQ(swf.tags[4].code, test::kShowFrameTag);
    EXPECT_EQ(std::vector<std::uint8_t>(swf.bytes.end() - 4, swf.bytes.end()),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST_F(SwfStreamWriterTest, FormatBytesFollowTheFirstFrame)
{
    struct Case {
        FrameKind kind;
        std::vector<std::uint8_t> head; // playback, stream, sample count
    };
    for (const auto& [kind, head] : std::vector<Case>{
             {test::kMpeg1Mono128k44100, {0x0E, 0x2E, 0x44, 0xAC}},
             {test::kMpeg2Mono64k22050, {0x0A, 0x2A, 0x22, 0x56}},
             {test::kMpeg25Stereo32k11025, {0x07, 0x27, 0x11, 0x2B}},
         }) {
        const SwfFile swf = write(test::makeFrames(kind, 5));
        const auto streamHead = swf.tagsWithCode(test::kSoundStreamHeadTag);
        ASSERT_EQ(streamHead.size(), 1u);
        EXPECT_EQ(std::vector<std::uint8_t>(streamHead[0]->body.begin(), streamHead[0]->body.begin() + 4), head);
    }
}

TEST_F(SwfStreamWriterTest, CopiesFramesUnchanged)
{
    const auto mp3 = test::makeFrames(test::kMpeg1Stereo128k44100, 50);
    const SwfFile swf = write(mp3);
    std::vector<std::uint8_t> carried;
    for (const auto* block : swf.tagsWithCode(test::kSoundStreamBlockTag))
        carried.insert(carried.end(), block->body.begin() + 4, block->body.end());
    EXPECT_EQ(carried, mp3);
}

TEST_F(SwfStreamWriterTest, SkipsALeadingId3TagUpTo32KiB)
{
    const auto frames = test::makeFrames(test::kMpeg1Stereo128k44100, 10);
    const auto withTag = [&](std::uint32_t size) {
        std::vector<std::uint8_t> mp3 = {'I', 'D', '3', 3, 0, 0,
                                         static_cast<std::uint8_t>((size >> 21) & 0x7F),
                                         static_cast<std::uint8_t>((size >> 14) & 0x7F),
                                         static_cast<std::uint8_t>((size >> 7) & 0x7F),
                                         static_cast<std::uint8_t>(size & 0x7F)};
        // A body that would read as frames if it were not skipped.
        for (std::uint32_t i = 0; i < size; ++i)
            mp3.push_back(i % 2000 == 0 ? 0xFF : 0x20);
        mp3.insert(mp3.end(), frames.begin(), frames.end());
        return mp3;
    };

    SwfFile swf = write(withTag(2000));
    EXPECT_EQ(swf.tagsWithCode(test::kSoundStreamBlockTag)[0]->body.size(), 4 + frames.size());

    // A tag announcing more than 32 KiB is searched through like any other bytes,
    // so its FF bytes start (bogus) frames.
    swf = write(withTag(40000));
    const auto* first = swf.tagsWithCode(test::kSoundStreamBlockTag)[0];
    EXPECT_EQ(first->body[4], 0xFF);
    EXPECT_EQ(first->body[5], 0x20);
}

TEST_F(SwfStreamWriterTest, InputWithoutACompleteFrameGivesTheEmptyAnimation)
{
    const std::vector<std::uint8_t> expected = {'F', 'W', 'S', 4, 27, 0, 0, 0, 0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40,
                                                0, 1, 0, 0, 0x43, 0x02, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
    auto frameStart = test::makeFrames(test::kMpeg1Stereo128k44100, 1);
    frameStart.resize(200);
    for (const auto& input : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>(5000, 0x41), frameStart}) {
        write(input);
        EXPECT_EQ(test::readBytes(swfPath), expected);
    }
}

TEST_F(SwfStreamWriterTest, LeavesOutALastFrameCutShort)
{
    auto mp3 = test::makeFrames(test::kMpeg1Stereo128k44100, 45);
    mp3.resize(mp3.size() - 100);
    const SwfFile swf = write(mp3);
    const auto frames = blockFrames(swf, 417, 1152);
    EXPECT_EQ(frames, (std::vector<int>{39, 5}));
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
}

TEST_F(SwfStreamWriterTest, StopsAfter16000FlashFrames)
{
    // 16000 seconds of the smallest frames, and a little more.
    const SwfFile swf = write(test::makeFrames(test::kMpeg25Mono8k11025, 306500));
    EXPECT_EQ(swf.tagsWithCode(test::kSoundStreamBlockTag).size(), 16000u);
    EXPECT_EQ(swf.frameCount, 16001);
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
}

TEST_F(SwfStreamWriterTest, BlocksOver64KiBKeepTheirFullLength)
{
    // At a frame rate of 0.2 one block holds five seconds: more than 64 KiB at 128 kb/s.
    test::writeBytes(mp3Path, test::makeFrames(test::kMpeg1Stereo128k44100, 400));
    SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, 0.2f, 1680);
    const SwfFile swf = test::parseSwf(test::readBytes(swfPath));
    const auto* first = swf.tagsWithCode(test::kSoundStreamBlockTag)[0];
    EXPECT_GT(first->length, 65536u);
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
}

TEST_F(SwfStreamWriterTest, CancelRemovesTheAnimation)
{
    test::writeBytes(mp3Path, test::makeFrames(test::kMpeg1Stereo128k44100, 200));
    for (const long cancelAt : {1L, 2L, 50L, 199L, 201L}) {
        status = {};
        pump.count = 0;
        pump.onPump = [&](long count) {
            if (count == cancelAt)
                status.cancelRequested = true;
        };
        SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, 1.0f, 1680);
        EXPECT_FALSE(status.failed);
        EXPECT_FALSE(test::fileExists(swfPath)) << "cancelled at pump " << cancelAt;
    }
}

TEST_F(SwfStreamWriterTest, FailuresAreReportedAndLeaveNoAnimation)
{
    SwfStreamWriter(status, pump).writeAnimation(folder.file("missing.mp3"), swfPath, 1.0f, 1680);
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(status.errorText, "Cannot open MP3 file.");
    EXPECT_FALSE(test::fileExists(swfPath));

    status = {};
    test::writeBytes(mp3Path, test::makeFrames(test::kMpeg1Stereo128k44100, 10));
    SwfStreamWriter(status, pump).writeAnimation(mp3Path, folder.file("no/such/folder.swf"), 1.0f, 1680);
    EXPECT_EQ(status.errorText, "Cannot open SWF file.");
}

TEST_F(SwfStreamWriterTest, AFullDiskFailsTheStageAndRemovesTheFile)
{
    test::writeBytes(mp3Path, test::makeFrames(test::kMpeg1Stereo128k44100, 2000));
    {
        test::FileSizeLimit limit(100000);
        SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, 1.0f, 1680);
    }
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(status.errorText, "Cannot write SWF file.");
    EXPECT_FALSE(test::fileExists(swfPath));
}

TEST_F(SwfStreamWriterTest, ProgressEndsAt100)
{
    int highest = 0;
    bool wentBack = false;
    pump.onPump = [&](long) {
        wentBack = wentBack || status.stagePercent < highest;
        highest = std::max(highest, status.stagePercent);
    };
    write(test::makeFrames(test::kMpeg1Stereo128k44100, 300));
    EXPECT_FALSE(wentBack);
    EXPECT_EQ(status.stagePercent, 100);
}

} // namespace
} // namespace orvalin

namespace orvalin {
namespace {

// An independent reader must find the sound stream as written.
TEST_F(SwfStreamWriterTest, FfprobeReadsTheSoundStream)
{
    struct Case {
        int sampleRate;
        int channels;
        int bitrate;
    };
    for (const auto& [rate, channels, bitrate] :
         {Case{44100, 2, 128}, Case{22050, 1, 64}, Case{11025, 1, 32}}) {
        const std::string wavPath = folder.file("tone.wav");
        test::writeWav(wavPath, {.sampleRate = rate, .channels = channels, .seconds = 2.0});
        ASSERT_EQ(test::runCommand("lame --quiet --cbr -t -b " + std::to_string(bitrate) + " -m " +
                                   (channels == 1 ? "m " : "s ") + test::shellQuote(wavPath) + " " +
                                   test::shellQuote(mp3Path)),
                  0);
        SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, 1.0f, 1680);
        ASSERT_FALSE(status.failed);

        const std::string probe = test::captureCommand(
            "ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels "
            "-of default=nw=1 " + test::shellQuote(swfPath));
        EXPECT_EQ(probe, "codec_name=mp3\nsample_rate=" + std::to_string(rate) +
                             "\nchannels=" + std::to_string(channels) + "\n");

        // Decoded, the stream lasts the tone's two seconds plus the encoder's padding.
        const std::string decoded = test::captureCommand(
            "ffmpeg -v error -i " + test::shellQuote(swfPath) + " -f s16le - | wc -c");
        const double seconds = std::stod(decoded) / (2.0 * channels * rate);
        EXPECT_GE(seconds, 2.0) << rate;
        EXPECT_LT(seconds, 2.0 + 3 * 1152.0 / rate) << rate;
    }
}

} // namespace
} // namespace orvalin
