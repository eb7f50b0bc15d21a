// The record the stage hands the encoder module, and the module through its
// exported entry points, loaded from the program folder as the stage loads it.

#include "CodedAudio.h"
#include "audio/EncoderConfig.h"
#include "audio/EncoderModule.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using test::Bytes;

const std::string kModulePath = std::string(PROGRAM_FOLDER) + moduleFileName("lame_enc");

TEST(EncoderConfig, FillsTheLameRecordAndZeroesTheRest)
{
    const BeConfig config = makeEncoderConfig(22050, 11025, Mp3ChannelMode::Mono, 48);
    // LAME's record, version 1 of 331 bytes: rates, mono, 48 kbit/s, preset 5.
    const std::pair<int, int> fields[] = {{0, 256}, {4, 1}, {8, 331}, {12, 22050}, {16, 11025}, {20, 3}, {24, 48}, {32, 5}};
    Bytes expected(sizeof config, 0);
    for (const auto& [offset, value] : fields)
        for (int i = 0; i < 4; ++i)
            expected[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&config);
    EXPECT_EQ(Bytes(bytes, bytes + sizeof config), expected);
}

TEST(EncoderModuleFile, ExportsOnlyTheFourEntryPoints)
{
    const std::string command = "nm -D --defined-only " + test::shellQuote(kModulePath) + " | awk '{print $3}' | LC_ALL=C sort";
    EXPECT_EQ(test::captureCommand(command), "beCloseStream\nbeDeinitStream\nbeEncodeChunk\nbeInitStream\n");
}

class EncoderModuleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(encoder) << kModulePath; }

    // The stream opened with the record; 0 when the module refuses it.
    BeStream open(const BeConfig& config)
    {
        BeStream stream = 0;
        return encoder->initStream(&config, &samplesPerChunk, &outputBufferSize, &stream) == BE_ERR_SUCCESSFUL ? stream : 0;
    }

    // Ten chunks of a sound rich in partials, then the flush.
    Bytes encode(const BeConfig& config)
    {
        const BeStream stream = open(config);
        std::vector<std::int16_t> samples(samplesPerChunk);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>((i * 7919) % 20000 - 10000);
        Bytes output(outputBufferSize), mp3;
        std::uint32_t written = 0;
        for (int chunk = 0; chunk < 10; ++chunk) {
            EXPECT_EQ(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
            mp3.insert(mp3.end(), output.begin(), output.begin() + written);
        }
        EXPECT_EQ(encoder->deinitStream(stream, output.data(), &written), BE_ERR_SUCCESSFUL);
        mp3.insert(mp3.end(), output.begin(), output.begin() + written);
        EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
        return mp3;
    }

    std::optional<EncoderModule> encoder = EncoderModule::load(kModulePath);
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputBufferSize = 0;
};

TEST_F(EncoderModuleTest, AnnouncesOneFramePerChunkForTheOutputRate)
{
    // Output rate and mode (0 stereo, 3 mono), then the samples per chunk and
    // the output buffer size announced.
    const std::uint32_t cases[][4] = {{44100, 0, 2304, 8640}, {32000, 3, 1152, 8640}, {22050, 0, 1152, 7920}, {11025, 3, 576, 7920}};
    for (const auto& [rate, mode, samples, bufferSize] : cases) {
        const BeStream stream = open(makeEncoderConfig(44100, rate, static_cast<Mp3ChannelMode>(mode), 32));
        ASSERT_NE(stream, 0u) << rate;
        EXPECT_EQ(samplesPerChunk, samples) << rate;
        EXPECT_EQ(outputBufferSize, bufferSize) << rate;
        EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
    }
}

TEST_F(EncoderModuleTest, RefusesWhatItCannotServe)
{
    const BeConfig good = makeEncoderConfig(44100, 44100, Mp3ChannelMode::Stereo, 128);
    std::vector<BeConfig> bad(8, good);
    bad[0].dwConfig = 0;
    bad[1].dwStructSize = 100;
    bad[2].dwSampleRate = 0;
    bad[3].nMode = 1; // joint stereo
    bad[4].bEnableVBR = 1;
    bad[5].bWriteVBRHeader = 1;
    bad[6].dwBitrate = 0;
    bad[7].dwStructVersion = 0;
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(open(bad[i]), 0u) << "record " << i;

    BeStream stream = 0;
    EXPECT_NE(encoder->initStream(nullptr, &samplesPerChunk, &outputBufferSize, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, nullptr, &outputBufferSize, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, &samplesPerChunk, nullptr, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, &samplesPerChunk, &outputBufferSize, nullptr), BE_ERR_SUCCESSFUL);

    stream = open(good);
    ASSERT_NE(stream, 0u);
    std::vector<std::int16_t> samples(samplesPerChunk + 2);
    Bytes output(outputBufferSize);
    std::uint32_t written = 0;
    EXPECT_NE(encoder->encodeChunk(0, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, nullptr, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), nullptr, &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), nullptr), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk + 2, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->deinitStream(0, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->deinitStream(stream, nullptr, &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->deinitStream(stream, output.data(), nullptr), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->closeStream(0), BE_ERR_SUCCESSFUL);
    // The stream still works.
    EXPECT_EQ(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(encoder->deinitStream(stream, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
}

TEST_F(EncoderModuleTest, FlushEndsTheStreamAndTheQualityWordNeedsItsComplement)
{
    BeConfig config = makeEncoderConfig(44100, 44100, Mp3ChannelMode::Mono, 64);
    const Bytes preset = encode(config);
    // Ten chunks of one frame each, and the encoder's delay: the flush gives the last frames.
    const auto frames = test::mpegFrames(preset);
    EXPECT_GE(frames.size(), 11u);
    EXPECT_LE(frames.size(), 12u);
    config.nQuality = 0x0009;
    EXPECT_EQ(encode(config), preset) << "low byte 9 without its complement is ignored";
    config.nQuality = 0xF609;
    EXPECT_NE(encode(config), preset) << "quality 9 with its complement applies";
}

} // namespace
} // namespace orvalin
