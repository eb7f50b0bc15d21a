#include "audio/EncoderConfig.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvalin {
namespace {

std::uint32_t fieldAt(const BeConfig& config, std::size_t offset, int width = 4)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&config);
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<std::uint32_t>(bytes[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

TEST(EncoderConfig, FillsTheLameRecordAtItsByteOffsets)
{
    BeConfig config;
    std::memset(&config, 0xCD, sizeof config); // nothing may survive from before
    config = makeEncoderConfig(22050, 11025, BE_MP3_MODE_MONO, 48);

    EXPECT_EQ(sizeof config, 331u);
    EXPECT_EQ(fieldAt(config, 0), 256u);
    EXPECT_EQ(fieldAt(config, 4), 1u);
    EXPECT_EQ(fieldAt(config, 8), 331u);
    EXPECT_EQ(fieldAt(config, 12), 22050u);
    EXPECT_EQ(fieldAt(config, 16), 11025u);
    EXPECT_EQ(fieldAt(config, 20), 3u);
    EXPECT_EQ(fieldAt(config, 24), 48u);
    EXPECT_EQ(fieldAt(config, 32), 5u);
    for (std::size_t offset : {28u, 36u, 40u, 44u, 48u, 52u, 56u, 60u, 64u, 68u, 72u, 76u, 80u, 84u, 88u})
        EXPECT_EQ(fieldAt(config, offset), 0u) << "offset " << offset;
    EXPECT_EQ(fieldAt(config, 92, 2), 0u);
    for (std::size_t offset = 94; offset < 331; ++offset)
        EXPECT_EQ(fieldAt(config, offset, 1), 0u) << "reserved byte " << offset;
}

TEST(EncoderConfig, StereoModeIsPlainStereo)
{
    EXPECT_EQ(makeEncoderConfig(44100, 44100, BE_MP3_MODE_STEREO, 128).nMode, 0);
}

} // namespace
} // namespace orvalin
