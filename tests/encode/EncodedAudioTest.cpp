// What the stage and the encoder module make of real audio, checked with
// ffprobe, ffmpeg and a walk over the MP3 frame headers.

#include "EncodeStageFixture.h"
#include "Mp3Inspection.h"
#include "WavBuilder.h"

#include <algorithm>
#include <cmath>
#include <ostream>

namespace orvalin::test {
namespace {

constexpr double kSeconds = 1.5;
constexpr double kAmplitude = 0.5;

bool contains(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to, const std::string& text)
{
    to = std::min(to, bytes.size());
    return from < to && std::search(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to),
                                    text.begin(), text.end()) != bytes.begin() + static_cast<long>(to);
}

struct EncodeCase {
    int inputRate;
    int inputChannels;
    int bitsPerSample;
    unsigned outputRate;
    std::uint8_t mode;
    unsigned bitrate;
};

std::ostream& operator<<(std::ostream& out, const EncodeCase& c)
{
    return out << c.inputRate << " Hz " << c.inputChannels << " ch " << c.bitsPerSample << " bit to "
               << c.outputRate << " Hz mode " << int{c.mode} << " at " << c.bitrate << " kbit/s";
}

class EncodedFile : public EncodeStageFixture, public ::testing::WithParamInterface<EncodeCase> {};

TEST_P(EncodedFile, IsPlainConstantBitrateMp3OfTheRequestedShape)
{
    const EncodeCase& c = GetParam();
    const auto channel = tone(c.inputRate, kSeconds, 440, kAmplitude);
    encode(pcmWav(c.inputRate, c.inputChannels, c.bitsPerSample,
                  c.inputChannels == 2 ? interleave(channel, channel) : channel),
           c.bitrate, c.outputRate, c.mode);
    ASSERT_FALSE(status.failed) << status.errorText;
    EXPECT_EQ(status.stagePercent, 100);

    const auto mp3 = readBytes(mp3Path);
    const Mp3FrameScan scan = scanFrames(mp3);
    EXPECT_TRUE(scan.reachesEnd) << "bytes outside MPEG frames, such as an ID3 tag";
    EXPECT_EQ(scan.bitrates, std::set<int>{static_cast<int>(c.bitrate)});
    EXPECT_EQ(scan.sampleRates, std::set<int>{static_cast<int>(c.outputRate)});
    EXPECT_EQ(scan.channelModes, std::set<int>{c.mode == BE_MP3_MODE_MONO ? 3 : 0});
    EXPECT_TRUE(scan.plainHeaders);
    EXPECT_FALSE(scan.startsWithEmptyFrame);
    EXPECT_FALSE(contains(mp3, 0, 3, "ID3"));
    for (const char* tag : {"Xing", "Info", "VBRI"})
        EXPECT_FALSE(contains(mp3, 0, 2000, tag)) << tag;

    const Mp3Probe probe = probeMp3(mp3Path);
    EXPECT_EQ(probe.codec, "mp3");
    EXPECT_EQ(probe.sampleRate, static_cast<int>(c.outputRate));
    EXPECT_EQ(probe.channels, c.mode == BE_MP3_MODE_MONO ? 1 : 2);
    // Encoder delay and padding add at most a few frames.
    EXPECT_NEAR(probe.duration, kSeconds, 0.2);

    const auto decoded = decodeMp3(mp3Path);
    const double expectedRms = 32767 * kAmplitude / std::sqrt(2.0);
    for (int ch = 0; ch < probe.channels; ++ch)
        EXPECT_NEAR(channelRms(decoded, probe.channels, ch, c.outputRate / 5), expectedRms, 0.1 * expectedRms)
            << "channel " << ch;
}

INSTANTIATE_TEST_SUITE_P(
    RatesModesAndBitrates, EncodedFile,
    ::testing::Values(EncodeCase{44100, 2, 16, 44100, BE_MP3_MODE_STEREO, 128},
                      EncodeCase{44100, 1, 16, 44100, BE_MP3_MODE_MONO, 64},
                      EncodeCase{44100, 2, 16, 22050, BE_MP3_MODE_MONO, 32},
                      EncodeCase{22050, 1, 16, 22050, BE_MP3_MODE_STEREO, 56},
                      EncodeCase{22050, 2, 8, 22050, BE_MP3_MODE_STEREO, 96},
                      EncodeCase{11025, 1, 8, 11025, BE_MP3_MODE_MONO, 24},
                      EncodeCase{11025, 2, 16, 11025, BE_MP3_MODE_STEREO, 64},
                      EncodeCase{22050, 1, 8, 44100, BE_MP3_MODE_MONO, 160},
                      EncodeCase{44100, 1, 16, 32000, BE_MP3_MODE_STEREO, 320}));

class ChannelLayout : public EncodeStageFixture {
protected:
    static constexpr int kRate = 44100;
    std::vector<std::int16_t> left = tone(kRate, kSeconds, 440, kAmplitude);
    double toneRms = 32767 * kAmplitude / std::sqrt(2.0);
};

TEST_F(ChannelLayout, StereoToMonoCarriesTheAverageOfBothSides)
{
    encode(pcmWav(kRate, 2, 16, interleave(left, std::vector<std::int16_t>(left.size(), 0))), 128, kRate,
           BE_MP3_MODE_MONO);
    ASSERT_FALSE(status.failed) << status.errorText;
    EXPECT_NEAR(probeMp3(mp3Path).duration, kSeconds, 0.1);
    EXPECT_NEAR(channelRms(decodeMp3(mp3Path), 1, 0, kRate / 5), toneRms / 2, 0.1 * toneRms / 2);

    std::vector<std::int16_t> inverted(left.size());
    std::transform(left.begin(), left.end(), inverted.begin(), [](std::int16_t s) { return static_cast<std::int16_t>(-s); });
    encode(pcmWav(kRate, 2, 16, interleave(left, inverted)), 128, kRate, BE_MP3_MODE_MONO);
    ASSERT_FALSE(status.failed) << status.errorText;
    EXPECT_LT(channelRms(decodeMp3(mp3Path), 1, 0, kRate / 5), 0.01 * toneRms) << "opposite sides cancel out";
}

TEST_F(ChannelLayout, MonoToStereoPutsTheSignalOnBothSides)
{
    for (const int bits : {8, 16}) {
        encode(pcmWav(kRate, 1, bits, left), 128, kRate, BE_MP3_MODE_STEREO);
        ASSERT_FALSE(status.failed) << status.errorText;
        const Mp3Probe probe = probeMp3(mp3Path);
        ASSERT_EQ(probe.channels, 2);
        EXPECT_NEAR(probe.duration, kSeconds, 0.1) << bits << " bit";
        const auto decoded = decodeMp3(mp3Path);
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_NEAR(channelRms(decoded, 2, ch, kRate / 5), toneRms, 0.1 * toneRms) << bits << " bit, channel " << ch;
    }
}

} // namespace
} // namespace orvalin::test
