// The encode stage on WAV files: how it lays out their samples for the
// encoder, the MP3 it makes of real sound, the WAV layouts it reads or
// refuses, and what it reports of an encoder that fails.

#include "CodedAudio.h"
#include "FakePlatform.h"
#include "audio/EncoderInterface.h"
#include "audio/Mp3EncodeStage.h"
#include "audio/MpegFrameHeader.h"
#include "audio/PcmLayout.h"
#include "platform/RuntimeModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace orvalin {
namespace {

using test::Bytes;
using test::makeWav;

constexpr auto kStereo = Mp3ChannelMode::Stereo;
constexpr auto kMono = Mp3ChannelMode::Mono;

TEST(PcmLayout, WidensMixesAndDuplicatesSamples)
{
    struct Case {
        std::vector<std::uint8_t> raw;
        unsigned fileChannels, bits, encoderChannels;
        std::vector<std::int16_t> samples;
    };
    const Case cases[] = {
        {{0x80, 0xFF, 0x00}, 1, 8, 1, {0, 0x7F00, -32768}},
        {{0x34, 0x12, 0x00, 0x80}, 2, 16, 2, {0x1234, -32768}},
        // Stereo becomes mono by averaging: (1000 + 3000) / 2, (-32768 + -32768) / 2, (32767 + -32768) / 2.
        {{0xE8, 0x03, 0xB8, 0x0B, 0x00, 0x80, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x80}, 2, 16, 1, {2000, -32768, 0}},
        {{0xFF, 0x01, 0x90, 0x70}, 2, 8, 1, {0, 0}},
        // Mono becomes stereo by duplication.
        {{0xE8, 0x03, 0x18, 0xFC}, 1, 16, 2, {1000, 1000, -1000, -1000}},
        {{0x90}, 1, 8, 2, {0x1000, 0x1000}},
    };
    for (const Case& c : cases) {
        const std::size_t frames = c.raw.size() / (c.fileChannels * c.bits / 8);
        std::vector<std::int16_t> samples(frames * c.encoderChannels);
        convertFrames(c.raw.data(), frames, c.fileChannels, c.bits, c.encoderChannels, samples.data());
        EXPECT_EQ(samples, c.samples) << c.fileChannels << " channels of " << c.bits << " bits to " << c.encoderChannels;
    }
}

class Mp3EncodeStageTest : public ::testing::Test {
protected:
    void encode(const Bytes& wav, unsigned bitrate, unsigned outputRate, Mp3ChannelMode mode,
                const std::string& programFolder = PROGRAM_FOLDER)
    {
        test::writeBytes(wavPath, wav);
        status = {};
        result = Mp3EncodeStage(status, pump, programFolder).run(wavPath, mp3Path, bitrate, outputRate, mode);
    }

    // The seconds of sound in the MP3's frames, which must fill the file.
    double seconds()
    {
        const Bytes mp3 = test::readBytes(mp3Path);
        frames = test::mpegFrames(mp3);
        std::size_t bytes = 0;
        double seconds = 0;
        for (const Bytes& frame : frames) {
            const MpegFrameInfo info = parseMpegHeader(frame[1], frame[2], frame[3]);
            seconds += (info.version == MpegVersion::Mpeg1 ? 1152.0 : 576.0) / info.sampleRate;
            bytes += frame.size();
        }
        EXPECT_EQ(bytes, mp3.size()) << "bytes outside MPEG frames, such as a tag";
        return seconds;
    }

    test::TestFolder folder;
    std::string wavPath = folder.file("input.wav");
    std::string mp3Path = folder.file("output.tmp3");
    JobStatus status;
    StageResult result;
    test::ScriptedPump pump;
    std::vector<Bytes> frames;
};

struct EncodeCase {
    int inputRate, inputChannels, bitsPerSample;
    unsigned outputRate;
    Mp3ChannelMode mode;
    unsigned bitrate;
};

void PrintTo(const EncodeCase& c, std::ostream* out)
{
    *out << c.inputRate << " Hz " << c.inputChannels << " ch " << c.bitsPerSample << " bit to " << c.outputRate
         << " Hz mode " << static_cast<int>(c.mode) << " at " << c.bitrate << " kbit/s";
}

class EncodedFile : public Mp3EncodeStageTest, public ::testing::WithParamInterface<EncodeCase> {};

TEST_P(EncodedFile, IsPlainConstantBitrateMp3OfTheRequestedShape)
{
    const EncodeCase& c = GetParam();
    encode(makeWav({.sampleRate = c.inputRate, .channels = c.inputChannels, .bitsPerSample = c.bitsPerSample, .seconds = 1.5}),
           c.bitrate, c.outputRate, c.mode);
    ASSERT_FALSE(result.failed()) << result.errorText;
    // Encoder delay and padding add at most a few frames.
    ASSERT_NEAR(seconds(), 1.5, 0.2);

    // Layer III at the bitrate and rate asked for, mono or plain stereo, no
    // CRC, private, copyright or original bit.
    std::set<std::vector<int>> headers;
    for (const Bytes& f : frames) {
        const MpegFrameInfo info = parseMpegHeader(f[1], f[2], f[3]);
        headers.insert({static_cast<int>(info.layer), info.bitrate, info.sampleRate, f[3] >> 6, f[1] & 1, f[2] & 1, f[3] & 0x0C});
    }
    EXPECT_EQ(headers, (std::set<std::vector<int>>{{2, int(c.bitrate), int(c.outputRate), c.mode == kMono ? 3 : 0, 1, 0, 0}}));
    // A first frame of zeros would be kept for an Info tag written at the end.
    EXPECT_FALSE(std::all_of(frames[0].begin() + 4, frames[0].end(), [](std::uint8_t b) { return b == 0; }));
    const std::string start = test::readText(mp3Path).substr(0, 2000);
    for (const char* tag : {"Xing", "Info", "VBRI"})
        EXPECT_EQ(start.find(tag), std::string::npos) << tag;
}

INSTANTIATE_TEST_SUITE_P(RatesModesAndBitrates, EncodedFile,
                         ::testing::Values(EncodeCase{44100, 2, 16, 44100, kStereo, 128}, EncodeCase{44100, 1, 16, 44100, kMono, 64},
                                           EncodeCase{44100, 2, 16, 22050, kMono, 32}, EncodeCase{22050, 1, 16, 22050, kStereo, 56},
                                           EncodeCase{22050, 2, 8, 22050, kStereo, 96}, EncodeCase{11025, 1, 8, 11025, kMono, 24},
                                           EncodeCase{11025, 2, 16, 11025, kStereo, 64}, EncodeCase{22050, 1, 8, 44100, kMono, 160},
                                           EncodeCase{22050, 2, 8, 44100, kMono, 128}, EncodeCase{44100, 1, 16, 32000, kStereo, 320}));

std::size_t chunkAt(const Bytes& wav, const std::string& id)
{
    return static_cast<std::size_t>(std::search(wav.begin(), wav.end(), id.begin(), id.end()) - wav.begin());
}

// The WAV with a copy of its data chunk, its last chunk, behind it.
Bytes withSecondDataChunk(Bytes wav)
{
    const Bytes data(wav.begin() + static_cast<long>(chunkAt(wav, "data")), wav.end());
    wav.insert(wav.end(), data.begin(), data.end());
    return wav;
}

Bytes withField(Bytes wav, std::size_t at, std::uint32_t value, int size = 4)
{
    for (int i = 0; i < size; ++i)
        wav[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return wav;
}

TEST_F(Mp3EncodeStageTest, ReadsTheWavLayoutsItCanAndRefusesTheRest)
{
    const Bytes plain = makeWav({.sampleRate = 22050});
    const test::TestTone chunky{.sampleRate = 22050, .chunksBefore = {{"LIST", {'I', 'N', 'F'}}, {"fact", {1, 2, 3, 4}}},
                               .chunksAfter = {{"LIST", {'a', 'b', 'c', 'd', 'e'}}, {"id3 ", {0xFF, 0xFB, 0x90}}}};
    Bytes cut = makeWav({.sampleRate = 22050, .seconds = 2.0});
    cut.resize(chunkAt(cut, "data") + 8 + 22050 * 4); // one of the two seconds
    const Bytes backwardsWav = makeWav({.sampleRate = 22050, .chunksAfter = {{"LIST", {1, 2, 3, 4}}}});
    Bytes notRiff = plain, notWave = plain, noFormat = plain;
    notRiff[0] = 'X';
    notWave[11] = 'X';
    std::copy_n("junk", 4, noFormat.begin() + static_cast<long>(chunkAt(noFormat, "fmt ")));

    const struct {
        const char* what;
        Bytes wav;
        double seconds; // of sound; below 0 when refused
    } cases[] = {
        {"other chunks, odd-sized ones too", makeWav(chunky), 1.0},
        // Half a second of 8-bit mono is 11025 bytes and a pad byte; the data
        // chunk behind it is a run of its own, with its own encoder delay.
        {"two odd-sized data chunks",
         withSecondDataChunk(makeWav({.sampleRate = 22050, .channels = 1, .bitsPerSample = 8, .seconds = 0.5})), 1.1},
        {"a data chunk cut short", cut, 1.0},
        {"a data size of 4 GB", withField(plain, chunkAt(plain, "data") + 4, 0xFFFFFFFF), 1.0},
        {"a data size of 2 GB", withField(plain, chunkAt(plain, "data") + 4, 0x80000000), 1.0},
        {"a chunk size pointing back onto the data", withField(backwardsWav, chunkAt(backwardsWav, "LIST") + 4, 0xFFFFFFF4), 1.0},
        {"24 bits", makeWav({.sampleRate = 22050, .bitsPerSample = 24, .seconds = 0.2}), -1},
        {"32 bits", makeWav({.sampleRate = 22050, .bitsPerSample = 32, .seconds = 0.2}), -1},
        {"three channels", makeWav({.sampleRate = 22050, .channels = 3, .seconds = 0.2}), -1},
        {"no channels", makeWav({.sampleRate = 22050, .channels = 0, .seconds = 0.2}), -1},
        {"floating point", withField(plain, chunkAt(plain, "fmt ") + 8, 3, 2), -1},
        {"no RIFF mark", notRiff, -1},
        {"no WAVE mark", notWave, -1},
        {"data without a format", noFormat, -1},
        {"an empty file", {}, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        encode(c.wav, 64, 22050, kStereo);
        EXPECT_EQ(result.errorText, c.seconds < 0 ? "Format not supported." : "");
        if (c.seconds >= 0) {
            EXPECT_NEAR(seconds(), c.seconds, 0.1);
        }
    }
}

TEST_F(Mp3EncodeStageTest, ProgressRisesFromZeroToAHundred)
{
    std::vector<int> seen;
    pump.onPump = [&](long) { seen.push_back(status.stagePercent); };
    encode(makeWav({.sampleRate = 22050, .seconds = 2.0}), 64, 22050, kStereo);
    ASSERT_FALSE(result.failed()) << result.errorText;
    EXPECT_EQ(seen.front(), 0);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_NEAR(seen[seen.size() / 2], 50, 10);
    EXPECT_EQ(seen.back(), 100);
}

// The stand-in encoder fails one call; whatever fails, a stream that was
// opened is closed, and the data chunk behind is left alone.
TEST_F(Mp3EncodeStageTest, EncoderFailuresAreReported)
{
    const struct {
        const char* call;
        const char* message;
        int encodes, deinits, closes;
    } cases[] = {
        {"init", "Cannot initialise LAME encoder.", 0, 0, 0},
        {"tiny", "Cannot initialise LAME encoder.", 0, 0, 1},
        {"encode", "Cannot encode in LAME encoder.", 2, 1, 1},
        {"overrun", "Cannot encode in LAME encoder.", 1, 1, 1},
        {"deinit", "Cannot deinitialise LAME encoder.", 10, 1, 1}, // a second of mono in chunks of 2304 frames
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const test::TestFolder program;
        const std::string path = program.file(moduleFileName("lame_enc"));
        std::filesystem::copy_file(FAILING_ENCODER, path);
        // Held loaded, so that its call counts outlive the stage's loading of it.
        const auto module = RuntimeModule::load(path);
        ASSERT_TRUE(module);
        setenv("FAILING_CALL", c.call, 1);
        encode(withSecondDataChunk(makeWav({.sampleRate = 22050, .channels = 1, .seconds = 1.0})), 64, 22050, kMono,
               program.path());
        unsetenv("FAILING_CALL");
        EXPECT_EQ(result.errorText, c.message);
        EXPECT_EQ(*module->entryPoint<int>("encodeCalls"), c.encodes);
        EXPECT_EQ(*module->entryPoint<int>("deinitCalls"), c.deinits);
        EXPECT_EQ(*module->entryPoint<int>("closeCalls"), c.closes);
    }
}

} // namespace
} // namespace orvalin
