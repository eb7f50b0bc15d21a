// MPEG frame headers, and the decode stage on MP3 files: the WAV it makes of
// their sound, whatever tags and files come with it.

#include "CodedAudio.h"
#include "FakePlatform.h"
#include "audio/Mp3DecodeStage.h"
#include "audio/MpegFrameHeader.h"
#include "audio/PcmWavHeader.h"
#include "common/JobStatus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace orvalin {
namespace {

using namespace std::string_literals;
using test::Pcm;
using test::TestTone;

struct HeaderCase {
    std::uint8_t h1, h2, h3; // the bytes after the leading 0xFF
    MpegVersion version;
    MpegLayer layer;
    int bitrate, sampleRate;
    bool stereo;
    int length; // padding included
};

constexpr auto V1 = MpegVersion::Mpeg1, V2 = MpegVersion::Mpeg2, V25 = MpegVersion::Mpeg25;
constexpr auto L1 = MpegLayer::Layer1, L2 = MpegLayer::Layer2, L3 = MpegLayer::Layer3;

TEST(MpegFrameHeader, ValuesAndLengthOfEveryVersionAndLayer)
{
    const HeaderCase cases[] = {
        {0xFB, 0x90, 0x44, V1, L3, 128, 44100, true, 417},
        {0xFB, 0x92, 0x44, V1, L3, 128, 44100, true, 418},  // padded
        {0xFB, 0x94, 0x84, V1, L3, 128, 48000, true, 384},  // dual channel
        {0xFB, 0x28, 0xC4, V1, L3, 40, 32000, false, 180},
        {0xFB, 0xE0, 0x04, V1, L3, 320, 44100, true, 1044},
        {0xF3, 0x40, 0xC4, V2, L3, 32, 22050, false, 104},
        {0xF3, 0x42, 0xC4, V2, L3, 32, 22050, false, 105},  // one padding byte
        {0xF3, 0xE4, 0x00, V2, L3, 160, 24000, true, 480},
        {0xE3, 0x10, 0xC4, V25, L3, 8, 11025, false, 52},
        {0xE3, 0x18, 0xC0, V25, L3, 8, 8000, false, 72},
        {0xFF, 0xC2, 0x00, V1, L1, 384, 44100, true, 420},  // a padding slot of four bytes
        {0xF7, 0x90, 0x00, V2, L1, 144, 22050, true, 312},
        {0xFD, 0x90, 0x00, V1, L2, 160, 44100, true, 522},
        {0xF5, 0x90, 0x00, V2, L2, 80, 22050, true, 522},
        // Reserved and free-format values fall back to usable ones.
        {0xEB, 0x90, 0x44, V25, L3, 80, 11025, true, 522},
        {0xF9, 0x90, 0x44, V1, L3, 128, 44100, true, 417},
        {0xFB, 0x00, 0x44, V1, L3, 128, 44100, true, 417},
        {0xFB, 0xF0, 0x44, V1, L3, 128, 44100, true, 417},
        {0xFB, 0x9C, 0x44, V1, L3, 128, 44100, true, 417},
    };
    for (const HeaderCase& c : cases) {
        const MpegFrameInfo info = parseMpegHeader(c.h1, c.h2, c.h3);
        SCOPED_TRACE(testing::Message() << std::hex << int{c.h1} << ' ' << int{c.h2} << ' ' << int{c.h3});
        EXPECT_EQ(info.version, c.version);
        EXPECT_EQ(info.layer, c.layer);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.sampleRate, c.sampleRate);
        EXPECT_EQ(info.stereo, c.stereo);
        EXPECT_EQ(info.lengthWithPadding(), c.length);
    }
}

const double kToneLoudness = 0.5 / std::sqrt(2.0); // a sine at half of full scale

class Mp3DecodeStageTest : public ::testing::Test {
protected:
    // Decodes the MP3 of these bytes, or of that path, as the job does.
    void decode(const std::string& bytes) { decodeFile(folder.file("made.mp3"), bytes); }
    void decodeFile(const std::string& mp3Path, const std::optional<std::string>& bytes = {})
    {
        if (bytes)
            test::writeText(mp3Path, *bytes);
        status = {};
        result = Mp3DecodeStage(status, pump, ORVALIN_PROGRAM_FOLDER).run(mp3Path, wavPath);
    }

    std::string lame(const TestTone& tone, const std::string& options)
    {
        return test::readText(test::lameMp3(folder, "tone", tone, options));
    }

    // The sound of the WAV of a run that succeeded. Its header must be the
    // one the tests' own writer gives a WAV of as many 16-bit frames.
    Pcm wav(int channels, int rate)
    {
        EXPECT_FALSE(result.failed()) << result.errorText;
        EXPECT_EQ(status.stagePercent, 100);
        const std::string file = test::readText(wavPath);
        const double frames = (file.size() - 44) / (2.0 * channels);
        const test::Bytes header = test::makeWav({.sampleRate = rate, .channels = channels, .seconds = (frames + 0.5) / rate});
        EXPECT_EQ(file.substr(0, 44), std::string(header.begin(), header.begin() + 44));
        return Pcm(file.substr(44), channels, rate);
    }

    test::TestFolder folder;
    JobStatus status;
    StageResult result;
    test::ScriptedPump pump;
    std::string wavPath = folder.file("out.tmp2");
};

struct Encoding {
    const char* name;
    int inputRate, inputChannels;
    const char* lameOptions;
    int rate, channels;
};

void PrintTo(const Encoding& encoding, std::ostream* out) { *out << encoding.name; }

class DecodedSound : public Mp3DecodeStageTest, public ::testing::WithParamInterface<Encoding> {};

TEST_P(DecodedSound, HeaderLengthAndLoudnessMatchTheInput)
{
    const Encoding& e = GetParam();
    decode(lame({.sampleRate = e.inputRate, .channels = e.inputChannels, .seconds = 2.0}, e.lameOptions));
    const Pcm pcm = wav(e.channels, e.rate);
    // An Info frame cuts the encoder's delay and padding; the lowest bitrates'
    // frames have no room for one, and then up to three frames' worth stay.
    EXPECT_GE(pcm.frames(), 0.998 * 2.0 * e.rate);
    EXPECT_LE(pcm.frames(), 2.0 * e.rate + 3 * (e.rate >= 32000 ? 1152 : 576));
    for (int channel = 0; channel < e.channels; ++channel)
        EXPECT_NEAR(pcm.loudness(channel, 0.2, 1.8), kToneLoudness, 0.05) << "channel " << channel;
}

INSTANTIATE_TEST_SUITE_P(
    MpegVersions, DecodedSound,
    ::testing::Values(Encoding{"mpeg1_stereo_cbr", 44100, 2, "-b 128 -m s", 44100, 2},
                      Encoding{"mpeg1_mono_vbr", 48000, 1, "-V 4 -m m", 48000, 1},
                      Encoding{"mpeg2_mono_cbr", 44100, 1, "--resample 22.05 -b 32 -m m", 22050, 1},
                      Encoding{"mpeg2_stereo_vbr", 44100, 2, "--resample 16 -V 6 -m s", 16000, 2},
                      Encoding{"mpeg25_stereo_cbr", 44100, 2, "--resample 11.025 -b 24 -m s", 11025, 2},
                      Encoding{"mpeg25_mono_cbr", 44100, 1, "--resample 8 -b 8 -m m", 8000, 1}),
    [](const auto& test) { return std::string(test.param.name); });

// A tone between two silences comes back where it was: nothing is added to or
// cut from the start.
TEST_F(Mp3DecodeStageTest, SoundStaysInPlaceAndProgressRisesToTheEnd)
{
    std::vector<int> seen;
    pump.onPump = [&](long) { seen.push_back(status.stagePercent); };
    decode(lame({.channels = 1, .seconds = 1.5, .frequency = 1000, .segmentAmplitudes = {0, 0.5, 0}, .segmentSeconds = 0.5},
                "-b 128 -m m"));
    const Pcm pcm = wav(1, 44100);
    EXPECT_EQ(pcm.frames(), 3u * 44100 / 2);
    EXPECT_LT(pcm.loudness(0, 0.0, 0.48), 0.01);
    EXPECT_NEAR(pcm.loudness(0, 0.52, 0.98), kToneLoudness, 0.03);
    EXPECT_LT(pcm.loudness(0, 1.02, 1.5), 0.01);

    ASSERT_GT(seen.size(), 10u);
    EXPECT_LT(seen.front(), 5);
    EXPECT_NEAR(seen[seen.size() / 2], 50, 10);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

// Each input sounds as the plain stream beside it.
TEST_F(Mp3DecodeStageTest, TagsAndStrayBytesAddNothing)
{
    const std::string plain = lame({.seconds = 1.0}, "-b 64");
    decode(plain);
    ASSERT_EQ(wav(2, 24000).frames(), 24000u); // lame's choice of rate for 64 kbit/s
    // Without an Info frame the first frame gives sound, and alone it is a stream.
    const std::string bare = lame({.seconds = 1.0}, "-b 64 -t");
    const auto firstFrame = [](const std::string& mp3) {
        const auto byte = [&](int i) { return static_cast<std::uint8_t>(mp3[i]); };
        return mp3.substr(0, static_cast<std::size_t>(parseMpegHeader(byte(1), byte(2), byte(3)).lengthWithPadding()));
    };
    const std::string info = firstFrame(plain);
    const std::string single = firstFrame(bare);

    // The body is full of frame headers of another rate: had it been read,
    // the WAV would describe them. The size 200 is syncsafe 00 00 01 48, which
    // as a plain number would be 328 and skip into the sound.
    std::string syncsafeTag = "ID3\3\0\0\0\0\x01\x48"s;
    for (int i = 0; i < 50; ++i)
        syncsafeTag += "\xFF\xF3\x40\xC4";
    // An APE tag of no item, its header and footer; a Lyrics3 tag of a title.
    const std::string apeTag = "APETAGEX\xD0\x07\0\0\x20\0\0\0\0\0\0\0\0\0\0\xA0"s + std::string(8, '\0') +
                               "APETAGEX\xD0\x07\0\0\x20\0\0\0\0\0\0\0\0\0\0\x80"s + std::string(8, '\0');
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"a syncsafe tag size", syncsafeTag + plain, plain},
        // One byte in, "ID3" starts no tag: its claim of 2,000 bytes is passed
        // over byte by byte, up to the sound at an odd offset.
        {"ID3 after the first byte", "xID3\3\0\0\0\x0F\x50\x50"s + plain, plain},
        // A 0xFF in an ID3v1 tag is taken for a frame start, which the decoder turns down.
        {"a frame start in an ID3v1 tag", plain + "TAG\xFFit" + std::string(122, '\0'), plain},
        // The encoder's delay is cut only when the decoder has read the Info
        // frame, which eight stray bytes, the most allowed, may follow.
        {"zeros after the Info frame", info + std::string(8, '\0') + plain.substr(info.size()), plain},
        {"a stray byte after the first frame", single + "x" + bare.substr(single.size()), bare},
        {"an APE tag after a single frame", single + apeTag, single},
        {"a Lyrics3 tag after a single frame", single + "LYRICSBEGININD0000210ETT00004Tone000033LYRICS200", single},
    };
    for (const auto& [what, bytes, sound] : cases) {
        decode(sound);
        const std::string expected = test::readText(wavPath);
        decode(bytes);
        EXPECT_FALSE(result.failed()) << what << ": " << result.errorText;
        EXPECT_TRUE(test::readText(wavPath) == expected) << what;
    }
}

TEST_F(Mp3DecodeStageTest, InputWithoutSound)
{
    decode(std::string(5000, 'a'));
    EXPECT_FALSE(test::fileExists(wavPath)) << "no frame, no WAV";
    EXPECT_EQ(result.errorText, "No sound to encode.");
    decodeFile(folder.file("missing.mp3"));
    EXPECT_EQ(result.errorText, "Cannot open MP3 file.");
}

} // namespace
} // namespace orvalin
