#include "swf/SwfStreamWriter.h"

#include "FakePlatform.h"
#include "SwfFile.h"
#include "TestFolder.h"
#include "common/JobStatus.h"
#include "swf/BlockPlan.h"

#include <gtest/gtest.h>
#include <map>
#include <numeric>

namespace orvalin {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::SwfFile;

// Layer III frames of one kind: a real header, then a counting pattern without
// 0xFF bytes, so that frames can be recognised.
struct FrameKind {
    std::uint8_t b1, b2, b3; // version and layer; bitrate, rate and padding; channel mode
    int length;              // bytes, padding included
};
constexpr FrameKind kMpeg1Stereo128k44100 = {0xFB, 0x90, 0x44, 417};
constexpr FrameKind kMpeg1Mono128k44100 = {0xFB, 0x90, 0xC4, 417};
constexpr FrameKind kMpeg2Mono64k22050 = {0xF3, 0x80, 0xC4, 208};
constexpr FrameKind kMpeg25Stereo32k11025 = {0xE3, 0x40, 0x04, 208};
constexpr FrameKind kMpeg25Mono8k11025 = {0xE3, 0x10, 0xC4, 52};

Bytes makeFrames(const FrameKind& kind, int count)
{
    Bytes bytes;
    for (int frame = 0; frame < count; ++frame) {
        bytes.insert(bytes.end(), {0xFF, kind.b1, kind.b2, kind.b3});
        for (int i = 4; i < kind.length; ++i)
            bytes.push_back(static_cast<std::uint8_t>((frame + i) % 200));
    }
    return bytes;
}

class SwfStreamWriterTest : public ::testing::Test {
protected:
    SwfFile write(const Bytes& mp3, float frameRate = 1.0f)
    {
        test::writeBytes(mp3Path, mp3);
        const StageResult result = SwfStreamWriter(status, pump).writeAnimation(mp3Path, swfPath, {frameRate});
        EXPECT_FALSE(result.failed()) << result.errorText;
        SwfFile swf = test::parseSwf(test::readBytes(swfPath));
        EXPECT_EQ(swf.declaredLength, swf.bytes.size());
        return swf;
    }

    static auto blocks(const SwfFile& swf) { return swf.tagsWithCode(swf::TagCode::SoundStreamBlock); }

    // The MP3 frames in each block, which must be whole and declare their samples.
    static std::vector<int> blockFrames(const SwfFile& swf, int frameLength, int samplesPerFrame)
    {
        std::vector<int> frames;
        for (const auto* block : blocks(swf)) {
            EXPECT_TRUE(block->longHeader);
            EXPECT_EQ((block->length - 4) % frameLength, 0u);
            frames.push_back(static_cast<int>((block->length - 4) / frameLength));
            EXPECT_EQ(static_cast<int>(test::readUi16(block->body, 0)), frames.back() * samplesPerFrame);
        }
        return frames;
    }

    test::TestFolder folder;
    std::string mp3Path = folder.file("orvaln1.tmp3");
    std::string swfPath = folder.file("orvaln1s.swf");
    JobStatus status;
    test::ScriptedPump pump;
};

// Whole frames keep one second per Flash frame; the seek values follow the drift.
TEST_F(SwfStreamWriterTest, PlansBlocksToKeepOneSecondPerFlashFrame)
{
    int highest = 0;
    pump.onPump = [&](long) {
        EXPECT_GE(status.stagePercent, highest);
        highest = status.stagePercent;
    };
    using Case = std::tuple<FrameKind, int, std::vector<int>, std::vector<int>>;
    for (const auto& [kind, samplesPerFrame, frames, seeks] : std::vector<Case>{
             {kMpeg1Stereo128k44100, 1152, {39, 39, 38, 38, 38, 39, 38, 3}, {1680, 852, 24, 348, 672, 996, 168}},
             {kMpeg2Mono64k22050, 576, {41, 38, 38, 39, 3}, {1680, 114, 276, 438}},
             {kMpeg25Stereo32k11025, 576, {22, 19, 19, 19, 3}, {1680, 33, 114, 195}}}) {
        highest = 0;
        const Bytes mp3 = makeFrames(kind, std::accumulate(frames.begin(), frames.end(), 0));
        const SwfFile swf = write(mp3);
        EXPECT_EQ(blockFrames(swf, kind.length, samplesPerFrame), frames);
        EXPECT_EQ(swf.frameCount, static_cast<int>(frames.size()) + 1);
        EXPECT_EQ(status.stagePercent, 100);
        std::vector<int> seen;
        Bytes carried;
        for (const auto* block : blocks(swf)) {
            seen.push_back(static_cast<int>(test::readUi16(block->body, 2)));
            carried.insert(carried.end(), block->body.begin() + 4, block->body.end());
        }
        seen.resize(seeks.size());
        EXPECT_EQ(seen, seeks);
        EXPECT_EQ(carried, mp3);
    }
}

// The plan's products are 32-bit floats: from block 1524 on they part from
// double arithmetic, under which a seek of a long stream went negative.
TEST(BlockPlanTest, EveryBlockOfTheLongestStreamKeepsItsFloatPlan)
{
    using Pinned = std::map<int, std::pair<int, int>>; // block: frames, seek
    for (const auto& [rate, pinned] : std::vector<std::pair<int, Pinned>>{
             {11025, {{1524, {19, 52}}, {6110, {19, 0}}, {12202, {19, 400}}, {16000, {19, 448}}}},
             {22050, {{1524, {38, 152}}, {6110, {38, 48}}, {12202, {38, 272}}, {16000, {38, 368}}}},
             {44100, {{1524, {39, 928}}, {1525, {38, 96}}, {12202, {38, 16}}, {16000, {38, 208}}}}}) {
        swf::BlockPlan plan(rate, 1.0f, 1680);
        int lowestSeek = 1680;
        for (int k = 1; k <= SwfStreamWriter::kMaxFlashFrames; ++k) {
            const auto block = plan.next();
            lowestSeek = std::min(lowestSeek, block.seekSamples);
            if (pinned.contains(k)) {
                EXPECT_EQ(std::pair(block.frames, block.seekSamples), pinned.at(k)) << rate << " Hz, block " << k;
            }
        }
        EXPECT_GE(lowestSeek, 0) << rate << " Hz";
    }
}

TEST_F(SwfStreamWriterTest, TheStreamHeadFollowsTheFirstFrame)
{
    for (const auto& [kind, head] : std::vector<std::pair<FrameKind, Bytes>>{
             {kMpeg1Stereo128k44100, {0x0F, 0x2F, 0x44, 0xAC, 0x90, 0x06}},
             {kMpeg1Mono128k44100, {0x0E, 0x2E, 0x44, 0xAC, 0x90, 0x06}},
             {kMpeg2Mono64k22050, {0x0A, 0x2A, 0x22, 0x56, 0x90, 0x06}},
             {kMpeg25Stereo32k11025, {0x07, 0x27, 0x11, 0x2B, 0x90, 0x06}}}) {
        const SwfFile swf = write(makeFrames(kind, 5));
        std::vector<int> codes;
        for (const auto& tag : swf.tags)
            codes.push_back(static_cast<int>(tag.code));
        ASSERT_EQ(codes, (std::vector<int>{9, 18, 1, 19, 1, 0}));
        EXPECT_EQ(swf.tags[1].body, head);
        EXPECT_EQ(Bytes(swf.bytes.end() - 4, swf.bytes.end()), (Bytes{0, 0, 0, 0}));
    }
}

// A leading ID3 tag up to 32 KiB is skipped; a larger one is searched through
// like any other bytes, so that its FF bytes start (bogus) frames.
TEST_F(SwfStreamWriterTest, SkipsALeadingId3TagUpTo32KiB)
{
    const auto frames = makeFrames(kMpeg1Stereo128k44100, 10);
    const auto firstBlock = [&](std::uint32_t size) {
        Bytes mp3 = {'I', 'D', '3', 3, 0, 0};
        for (const int shift : {21, 14, 7, 0})
            mp3.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
        for (std::uint32_t i = 0; i < size; ++i)
            mp3.push_back(i % 2000 == 0 ? 0xFF : 0x20);
        mp3.insert(mp3.end(), frames.begin(), frames.end());
        return blocks(write(mp3))[0]->body;
    };
    EXPECT_EQ(firstBlock(2000).size(), 4 + frames.size());
    const Bytes bogus = firstBlock(40000);
    EXPECT_EQ(Bytes(bogus.begin() + 4, bogus.begin() + 6), (Bytes{0xFF, 0x20}));
}

TEST_F(SwfStreamWriterTest, IncompleteFramesAreLeftOut)
{
    Bytes mp3 = makeFrames(kMpeg1Stereo128k44100, 45);
    mp3.resize(mp3.size() - 100);
    EXPECT_EQ(blockFrames(write(mp3), 417, 1152), (std::vector<int>{39, 5}));
    for (const Bytes& input : {Bytes{}, Bytes(5000, 0x41), Bytes(mp3.begin(), mp3.begin() + 200)}) {
        write(input);
        EXPECT_EQ(test::readBytes(swfPath), (Bytes{'F', 'W', 'S', 4, 27, 0, 0, 0, 0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40,
                                                   0, 1, 0, 0, 0x43, 0x02, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    }
}

// 16000 seconds of the smallest frames and more; at 0.2 frames a second a block holds 80 KB.
TEST_F(SwfStreamWriterTest, LongInputsAndLongBlocks)
{
    const SwfFile swf = write(makeFrames(kMpeg25Mono8k11025, 306500));
    EXPECT_EQ(blocks(swf).size(), 16000u);
    EXPECT_EQ(swf.frameCount, 16001);
    EXPECT_GT(blocks(write(makeFrames(kMpeg1Stereo128k44100, 400), 0.2f))[0]->length, 65536u);
}

TEST_F(SwfStreamWriterTest, FilesThatCannotBeOpenedFailTheStage)
{
    EXPECT_EQ(SwfStreamWriter(status, pump).writeAnimation(folder.file("missing.mp3"), swfPath).errorText,
              "Cannot open MP3 file.");
    test::writeBytes(mp3Path, makeFrames(kMpeg1Stereo128k44100, 10));
    EXPECT_EQ(SwfStreamWriter(status, pump).writeAnimation(mp3Path, folder.file("no/such/folder.swf")).errorText,
              "Cannot open SWF file.");
}

} // namespace
} // namespace orvalin
