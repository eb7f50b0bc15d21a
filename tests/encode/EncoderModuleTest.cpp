// The encoder module through its exported entry points, loaded from the
// program folder as the stage loads it.

#include "TestAudio.h"
#include "audio/EncoderConfig.h"
#include "audio/EncoderModule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace orvalin {
namespace {

const std::string kModulePath = std::string(PROGRAM_FOLDER) + moduleFileName("lame_enc");

class EncoderModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        encoder = EncoderModule::load(kModulePath);
        ASSERT_TRUE(encoder) << kModulePath;
    }

    // Opens a stream; 0 when the module refuses the record.
    BeStream open(const BeConfig& config)
    {
        BeStream stream = 0;
        if (encoder->initStream(&config, &samplesPerChunk, &outputBufferSize, &stream) != BE_ERR_SUCCESSFUL)
            return 0;
        EXPECT_NE(stream, 0u);
        return stream;
    }

    std::optional<EncoderModule> encoder;
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputBufferSize = 0;
};

TEST(EncoderModuleFile, ExportsOnlyTheFourEntryPoints)
{
    std::istringstream symbols(
        test::captureCommand("nm -D --defined-only " + test::shellQuote(kModulePath)));
    std::vector<std::string> names;
    std::string address, type, name;
    while (symbols >> address >> type >> name)
        names.push_back(name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"beCloseStream", "beDeinitStream", "beEncodeChunk", "beInitStream"}));
}

TEST_F(EncoderModuleTest, AnnouncesOneFramePerChunkForTheOutputRate)
{
    struct Case {
        std::uint32_t outputRate;
        std::int32_t mode;
        std::uint32_t samples;
        std::uint32_t bufferSize;
    };
    for (const Case& c : {Case{44100, BE_MP3_MODE_STEREO, 2304, 8640}, Case{32000, BE_MP3_MODE_MONO, 1152, 8640},
                          Case{22050, BE_MP3_MODE_STEREO, 1152, 7920}, Case{11025, BE_MP3_MODE_MONO, 576, 7920}}) {
        const BeStream stream = open(makeEncoderConfig(44100, c.outputRate, c.mode, 32));
        ASSERT_NE(stream, 0u) << c.outputRate;
        EXPECT_EQ(samplesPerChunk, c.samples) << c.outputRate;
        EXPECT_EQ(outputBufferSize, c.bufferSize) << c.outputRate;
        EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
    }
}

TEST_F(EncoderModuleTest, RefusesRecordsItCannotServe)
{
    const BeConfig good = makeEncoderConfig(44100, 44100, BE_MP3_MODE_STEREO, 128);
    std::vector<BeConfig> bad(7, good);
    bad[0].dwConfig = 0;
    bad[1].dwStructSize = 100;
    bad[2].dwSampleRate = 0;
    bad[3].nMode = 1; // joint stereo
    bad[4].bEnableVBR = 1;
    bad[5].bWriteVBRHeader = 1;
    bad[6].dwBitrate = 0;
    for (std::size_t i = 0; i < bad.size(); ++i)
        EXPECT_EQ(open(bad[i]), 0u) << "record " << i;

    BeStream stream = 0;
    EXPECT_NE(encoder->initStream(nullptr, &samplesPerChunk, &outputBufferSize, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, nullptr, &outputBufferSize, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, &samplesPerChunk, nullptr, &stream), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->initStream(&good, &samplesPerChunk, &outputBufferSize, nullptr), BE_ERR_SUCCESSFUL);
}

TEST_F(EncoderModuleTest, RefusesNullArgumentsAndOversizedChunks)
{
    const BeStream stream = open(makeEncoderConfig(44100, 44100, BE_MP3_MODE_STEREO, 128));
    ASSERT_NE(stream, 0u);
    std::vector<std::int16_t> samples(samplesPerChunk + 2);
    std::vector<std::uint8_t> output(outputBufferSize);
    std::uint32_t written = 0;

    EXPECT_NE(encoder->encodeChunk(0, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, nullptr, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), nullptr, &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), nullptr), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->encodeChunk(stream, samplesPerChunk + 2, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->deinitStream(0, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->deinitStream(stream, nullptr, &written), BE_ERR_SUCCESSFUL);
    EXPECT_NE(encoder->closeStream(0), BE_ERR_SUCCESSFUL);

    EXPECT_EQ(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(encoder->deinitStream(stream, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
}

TEST_F(EncoderModuleTest, QualityWordCountsOnlyWithItsComplementCheck)
{
    const auto encoded = [&](std::uint16_t qualityWord) {
        BeConfig config = makeEncoderConfig(44100, 44100, BE_MP3_MODE_MONO, 64);
        config.nQuality = qualityWord;
        const BeStream stream = open(config);
        EXPECT_NE(stream, 0u);
        std::vector<std::int16_t> samples(samplesPerChunk);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>((i * 7919) % 20000 - 10000); // rich in partials
        std::vector<std::uint8_t> output(outputBufferSize);
        std::vector<std::uint8_t> mp3;
        std::uint32_t written = 0;
        for (int chunk = 0; chunk < 20; ++chunk) {
            EXPECT_EQ(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
            mp3.insert(mp3.end(), output.begin(), output.begin() + written);
        }
        EXPECT_EQ(encoder->deinitStream(stream, output.data(), &written), BE_ERR_SUCCESSFUL);
        mp3.insert(mp3.end(), output.begin(), output.begin() + written);
        encoder->closeStream(stream);
        return mp3;
    };
    const auto preset = encoded(0);
    EXPECT_EQ(encoded(0x0009), preset) << "low byte 9 without its complement is ignored";
    EXPECT_NE(encoded(0xF609), preset) << "quality 9 with its complement applies";
}

TEST_F(EncoderModuleTest, FlushReturnsTheLastFrames)
{
    const BeStream stream = open(makeEncoderConfig(44100, 44100, BE_MP3_MODE_MONO, 64));
    ASSERT_NE(stream, 0u);
    std::vector<std::int16_t> samples(samplesPerChunk, 1000);
    std::vector<std::uint8_t> output(outputBufferSize);
    std::uint32_t encoded = 0;
    std::uint32_t written = 0;
    for (int chunk = 0; chunk < 10; ++chunk) {
        ASSERT_EQ(encoder->encodeChunk(stream, samplesPerChunk, samples.data(), output.data(), &written), BE_ERR_SUCCESSFUL);
        encoded += written;
    }
    ASSERT_EQ(encoder->deinitStream(stream, output.data(), &written), BE_ERR_SUCCESSFUL);
    EXPECT_GT(written, 0u);
    encoded += written;
    // 64 kbit/s frames of 1152 samples at 44.1 kHz are 208 or 209 bytes; ten
    // chunks plus the encoder's delay make eleven or twelve of them.
    EXPECT_GE(encoded, 11u * 208);
    EXPECT_LE(encoded, 12u * 209);
    EXPECT_EQ(encoder->closeStream(stream), BE_ERR_SUCCESSFUL);
}

} // namespace
} // namespace orvalin
