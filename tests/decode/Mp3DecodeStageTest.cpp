#include "audio/Mp3DecodeStage.h"
#include "audio/PcmWavHeader.h"
#include "job/JobStatus.h"
#include "DecodeTestAudio.h"
#include "FakePlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>

namespace orvalin {
namespace {

using test::DecodedWav;
using test::readBytes;
using test::readDecodedWav;
using test::TestTone;
using Bytes = std::vector<std::uint8_t>;

Bytes join(const Bytes& first, const Bytes& second)
{
    Bytes joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    return joined;
}

class Mp3DecodeStageTest : public ::testing::Test {
protected:
    // Runs the stage as the job does; the WAV goes to wav().
    void decode(const std::string& mp3Path, const std::string& programFolder = ORVALIN_PROGRAM_FOLDER)
    {
        Mp3DecodeStage stage(status, pump, programFolder);
        stage.setWavPath(wavPath);
        stage.setMp3Path(mp3Path);
        stage.run();
    }

    std::string mp3WithBytes(const Bytes& bytes)
    {
        const std::string path = folder.file("made.mp3");
        test::writeBytes(path, bytes);
        return path;
    }

    // Fails the test when lame could not make the file.
    std::string lameMp3(const std::string& name, const TestTone& tone, const std::string& options)
    {
        const std::string path = test::encodeWithLame(folder, name, tone, options);
        EXPECT_FALSE(path.empty()) << "lame " << options;
        return path;
    }

    void expectSucceeded() const
    {
        EXPECT_FALSE(status.failed) << status.errorText;
        EXPECT_FALSE(status.cancelRequested);
        EXPECT_EQ(status.stagePercent, 100);
    }

    test::TestFolder folder;
    JobStatus status;
    test::ScriptedPump pump;
    std::string wavPath = folder.file("out.tmp2");
};

// --- Sound per MPEG version: header, sizes, length and pitch ----------------

struct Encoding {
    const char* name;
    int inputRate;
    int inputChannels;
    const char* lameOptions;
    int decodedRate;
    int decodedChannels;
};

void PrintTo(const Encoding& encoding, std::ostream* out)
{
    *out << encoding.name;
}

class DecodedSound : public Mp3DecodeStageTest, public ::testing::WithParamInterface<Encoding> {};

TEST_P(DecodedSound, HeaderSizesLengthAndPitchMatchTheInput)
{
    const Encoding& encoding = GetParam();
    TestTone tone;
    tone.sampleRate = encoding.inputRate;
    tone.channels = encoding.inputChannels;
    tone.seconds = 2.0;
    tone.frequency = 440;
    decode(lameMp3(encoding.name, tone, encoding.lameOptions));
    expectSucceeded();

    const DecodedWav wav = readDecodedWav(wavPath);
    EXPECT_EQ(wav.riff, "RIFF");
    EXPECT_EQ(wav.wave, "WAVE");
    EXPECT_EQ(wav.fmt, "fmt ");
    EXPECT_EQ(wav.fmtSize, 16u);
    EXPECT_EQ(wav.formatTag, 1);
    EXPECT_EQ(wav.channels, encoding.decodedChannels);
    EXPECT_EQ(wav.sampleRate, static_cast<std::uint32_t>(encoding.decodedRate));
    EXPECT_EQ(wav.byteRate, static_cast<std::uint32_t>(encoding.decodedRate * 2 * encoding.decodedChannels));
    EXPECT_EQ(wav.blockAlign, 2 * encoding.decodedChannels);
    EXPECT_EQ(wav.bitsPerSample, 16);
    EXPECT_EQ(wav.data, "data");
    EXPECT_EQ(wav.riffSize, wav.fileLength - 8);
    EXPECT_EQ(wav.dataSize, wav.fileLength - 44);

    // With an Info frame the encoder's delay and padding are cut; the small
    // frames of the lowest bitrates have no room for one, and then the sound
    // keeps up to three frames' worth of them.
    const double expectedFrames = tone.seconds * encoding.decodedRate;
    const double samplesPerFrame = encoding.decodedRate >= 32000 ? 1152 : 576;
    EXPECT_GE(static_cast<double>(wav.frames()), expectedFrames - 0.002 * expectedFrames);
    EXPECT_LE(static_cast<double>(wav.frames()), expectedFrames + 3 * samplesPerFrame);

    for (int channel = 0; channel < encoding.decodedChannels; ++channel) {
        const double inputPitch = tone.frequency * (1.0 + 0.5 * channel);
        EXPECT_NEAR(test::toneFrequency(wav, channel), inputPitch, 2.0) << "channel " << channel;
        EXPECT_NEAR(test::loudness(wav, channel, 0.2, 1.8), tone.amplitude / std::sqrt(2.0), 0.05);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MpegVersions, DecodedSound,
    ::testing::Values(
        Encoding{"mpeg1_stereo_cbr", 44100, 2, "-b 128 -m s", 44100, 2},
        Encoding{"mpeg1_mono_vbr", 48000, 1, "-V 4 -m m", 48000, 1},
        Encoding{"mpeg2_mono_cbr", 44100, 1, "--resample 22.05 -b 32 -m m", 22050, 1},
        Encoding{"mpeg2_stereo_vbr", 44100, 2, "--resample 16 -V 6 -m s", 16000, 2},
        Encoding{"mpeg25_stereo_cbr", 44100, 2, "--resample 11.025 -b 24 -m s", 11025, 2},
        Encoding{"mpeg25_mono_cbr", 44100, 1, "--resample 8 -b 8 -m m", 8000, 1}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(Mp3DecodeStageTest, FfmpegFileWithItsTagsDecodesLikeTheSound)
{
    TestTone tone;
    tone.seconds = 1.5;
    const std::string source = folder.file("source.wav");
    test::writeWav(source, tone);
    const std::string mp3 = folder.file("ffmpeg.mp3");
    ASSERT_EQ(test::runCommand("ffmpeg -nostdin -y -i " + test::shellQuote(source) +
                               " -c:a libmp3lame -b:a 96k -metadata title=Song " + test::shellQuote(mp3)),
              0);
    decode(mp3);
    expectSucceeded();
    const DecodedWav wav = readDecodedWav(wavPath);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.sampleRate, 44100u);
    EXPECT_NEAR(static_cast<double>(wav.frames()), 1.5 * 44100, 100);
    EXPECT_NEAR(test::toneFrequency(wav, 0), 440, 2.0);
    EXPECT_NEAR(test::toneFrequency(wav, 1), 660, 2.0);
}

// A tone between two silences comes back where it was: nothing is added to or
// cut from the start, and a loud stretch stays loud.
TEST_F(Mp3DecodeStageTest, LoudnessEnvelopeStaysInPlace)
{
    const int rate = 44100;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(rate * 3 / 2));
    for (std::size_t i = rate / 2; i < static_cast<std::size_t>(rate); ++i)
        samples[i] = static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 1000.0 * static_cast<double>(i) / rate));
    const std::string source = folder.file("envelope.wav");
    test::writePcmWav(source, rate, 1, samples);
    const std::string mp3 = folder.file("envelope.mp3");
    ASSERT_EQ(test::runCommand("lame --quiet -b 128 -m m " + test::shellQuote(source) + " " + test::shellQuote(mp3)), 0);

    decode(mp3);
    expectSucceeded();
    const DecodedWav wav = readDecodedWav(wavPath);
    ASSERT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.frames(), samples.size());
    EXPECT_LT(test::loudness(wav, 0, 0.0, 0.48), 0.01);
    EXPECT_NEAR(test::loudness(wav, 0, 0.52, 0.98), 16000 / 32768.0 / std::sqrt(2.0), 0.03);
    EXPECT_LT(test::loudness(wav, 0, 1.02, 1.5), 0.01);
}

// Files joined end to end: the first one's Info frame counts only its own
// frames, and the second file must not be cut for it.
TEST_F(Mp3DecodeStageTest, JoinedFilesDecodeWhole)
{
    TestTone tone;
    const Bytes first = readBytes(lameMp3("first", tone, "-b 128"));
    tone.frequency = 880;
    const Bytes second = readBytes(lameMp3("second", tone, "-b 128"));
    decode(mp3WithBytes(join(first, second)));
    expectSucceeded();
    const DecodedWav wav = readDecodedWav(wavPath);
    EXPECT_GE(wav.frames(), 2u * 44100);
    EXPECT_LE(wav.frames(), 2u * 44100 + 3 * 1152);
    EXPECT_GT(test::loudness(wav, 0, 1.9, 2.0), 0.3);
}

// Later frames of another rate and channel mode are decoded and appended as
// they are; the WAV header keeps describing the first.
TEST_F(Mp3DecodeStageTest, HeaderComesFromTheFirstFrameWhateverFollows)
{
    TestTone tone;
    const Bytes stereo = readBytes(lameMp3("stereo", tone, "-b 128 -m s"));
    tone.channels = 1;
    const Bytes mono = readBytes(lameMp3("mono", tone, "--resample 22.05 -b 64 -m m"));
    decode(mp3WithBytes(join(stereo, mono)));
    expectSucceeded();
    const DecodedWav wav = readDecodedWav(wavPath);
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.sampleRate, 44100u);
    const double expectedBytes = 44100 * 4 + 22050 * 2;
    EXPECT_NEAR(wav.dataSize, expectedBytes, 3 * 1152 * 4);
}

// --- Tags -------------------------------------------------------------------

class TaggedInput : public Mp3DecodeStageTest {
protected:
    void SetUp() override
    {
        tone.seconds = 1.0;
        plainMp3 = lameMp3("plain", tone, "-b 64");
        decode(plainMp3);
        plain = readDecodedWav(wavPath);
        ASSERT_EQ(plain.frames(), static_cast<std::size_t>(plain.sampleRate));
    }

    void expectSameSoundAsPlain()
    {
        expectSucceeded();
        const DecodedWav wav = readDecodedWav(wavPath);
        EXPECT_EQ(wav.channels, plain.channels);
        EXPECT_EQ(wav.sampleRate, plain.sampleRate);
        EXPECT_EQ(wav.dataSize, wav.fileLength - 44);
        EXPECT_TRUE(wav.samples == plain.samples) << wav.frames() << " frames, plain " << plain.frames();
    }

    TestTone tone;
    std::string plainMp3;
    DecodedWav plain;
};

TEST_F(TaggedInput, LameId3v2TagIsSkipped)
{
    decode(lameMp3("v2", tone, "-b 64 --tt Title --ta Artist --id3v2-only"));
    expectSameSoundAsPlain();
}

// The tag's body is full of frame headers of another rate: had the tag been
// read, the WAV would describe them. Its size 200 has the bytes 00 00 01 48,
// which read as a plain number would be 328 and skip into the sound.
TEST_F(TaggedInput, Id3v2SizeIsSyncsafe)
{
    Bytes tag = {'I', 'D', '3', 3, 0, 0, 0x00, 0x00, 0x01, 0x48};
    for (int i = 0; i < 50; ++i)
        tag.insert(tag.end(), {0xFF, 0xF3, 0x40, 0xC4});
    decode(mp3WithBytes(join(tag, readBytes(plainMp3))));
    expectSameSoundAsPlain();
}

// "ID3" one byte in is no tag: its ten bytes, which claim 2,000 bytes of
// body, are passed over one by one and the sound right behind them stays.
TEST_F(TaggedInput, Id3AfterTheFirstByteIsNoTag)
{
    const Bytes notATag = {'x', 'I', 'D', '3', 3, 0, 0, 0x00, 0x0F, 0x50};
    decode(mp3WithBytes(join(notATag, readBytes(plainMp3))));
    expectSameSoundAsPlain();
}

TEST_F(TaggedInput, TrailingId3v1TagAddsNothing)
{
    decode(lameMp3("v1", tone, "-b 64 --tt Title --ta Artist --id3v1-only"));
    expectSameSoundAsPlain();
}

// A 0xFF inside the tag is taken for a frame start; the decoder turns the
// bytes behind it (and the zeros past the end) down.
TEST_F(TaggedInput, FalseFrameStartInId3v1TagAddsNothing)
{
    Bytes tag(128, 0);
    tag[0] = 'T', tag[1] = 'A', tag[2] = 'G';
    tag[3] = 0xFF, tag[4] = 'i', tag[5] = 't';
    decode(mp3WithBytes(join(readBytes(plainMp3), tag)));
    expectSameSoundAsPlain();
}

// --- No sound, failures and cancel -------------------------------------------

TEST_F(Mp3DecodeStageTest, InputWithoutAnyFrameStartLeavesNoWavAndNoMessage)
{
    status.errorText = "earlier";
    decode(mp3WithBytes(Bytes(5000, 'a')));
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.errorText, "earlier");
    EXPECT_FALSE(test::fileExists(wavPath));
}

TEST_F(Mp3DecodeStageTest, MissingModuleIsReportedWithItsFullPath)
{
    const test::TestFolder emptyProgramFolder;
    decode(lameMp3("any", TestTone{}, "-b 64"), emptyProgramFolder.path());
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(status.errorText, "Cannot load DLL [" + emptyProgramFolder.path() + "decoder.so].");
    EXPECT_FALSE(test::fileExists(wavPath));
}

TEST_F(Mp3DecodeStageTest, UnopenableFilesAreReported)
{
    decode(folder.file("missing.mp3"));
    EXPECT_EQ(status.errorText, "Cannot open MP3 file.");
    EXPECT_FALSE(test::fileExists(wavPath));

    status = JobStatus{};
    wavPath = folder.file("no-such-folder/out.tmp2");
    decode(lameMp3("any", TestTone{}, "-b 64"));
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(status.errorText, "Cannot create WAV file.");
}

// The WAV is reached through a link to the always-full device, so that
// removing the failed WAV removes only the link.
TEST_F(Mp3DecodeStageTest, FailedWritesFailTheStageAndRemoveTheWav)
{
    std::filesystem::create_symlink("/dev/full", wavPath);
    decode(lameMp3("any", TestTone{}, "-b 64"));
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(status.errorText, "Cannot write WAV file.");
    EXPECT_FALSE(std::filesystem::is_symlink(wavPath));
}

// Pumps: one before the scan, one per frame or skipped byte, one at the end.
TEST_F(Mp3DecodeStageTest, CancelStopsTheScanAndRemovesTheWav)
{
    const std::string mp3 = lameMp3("long", TestTone{}, "-b 64");
    pump.onPump = [this](long count) {
        if (count == 5)
            status.cancelRequested = true;
    };
    decode(mp3);
    EXPECT_EQ(pump.count, 6);
    EXPECT_FALSE(status.failed);
    EXPECT_TRUE(status.errorText.empty());
    EXPECT_EQ(status.stagePercent, 100);
    EXPECT_FALSE(test::fileExists(wavPath));
}

TEST_F(Mp3DecodeStageTest, ProgressRisesToTheEnd)
{
    std::vector<int> seen;
    pump.onPump = [&](long) { seen.push_back(status.stagePercent); };
    decode(lameMp3("progress", TestTone{}, "-b 64"));
    expectSucceeded();
    ASSERT_GT(seen.size(), 10u);
    EXPECT_LT(seen.front(), 5);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

// Beyond this the encode stage, which takes the data size as a signed 32-bit
// number, would see a negative chunk.
TEST(PcmWavLimit, BothSizeFieldsStayBelowTwoGibibytesInWholeSampleFrames)
{
    EXPECT_LE(std::uint64_t{kMaxPcmDataBytes} + kPcmWavHeaderSize - 8, 0x7FFFFFFFu);
    EXPECT_EQ(kMaxPcmDataBytes % 4, 0u);
    EXPECT_GT(kMaxPcmDataBytes, 0x7FFFFFFFu - 64);
}

} // namespace
} // namespace orvalin
