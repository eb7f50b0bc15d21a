#include "audio/PcmLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvalin {
namespace {

std::vector<std::int16_t> converted(const std::vector<std::uint8_t>& raw, unsigned fileChannels,
                                    unsigned bits, unsigned encoderChannels)
{
    const std::size_t frames = raw.size() / (fileChannels * bits / 8);
    std::vector<std::int16_t> samples(frames * encoderChannels);
    convertFrames(raw.data(), frames, fileChannels, bits, encoderChannels, samples.data());
    return samples;
}

TEST(PcmLayout, WidensEightBitSamples)
{
    EXPECT_EQ(converted({0x80, 0xFF, 0x00}, 1, 8, 1),
              (std::vector<std::int16_t>{0, 0x7F00, static_cast<std::int16_t>(0x8000)}));
}

TEST(PcmLayout, ReadsSixteenBitLittleEndian)
{
    EXPECT_EQ(converted({0x34, 0x12, 0x00, 0x80}, 2, 16, 2),
              (std::vector<std::int16_t>{0x1234, static_cast<std::int16_t>(0x8000)}));
}

TEST(PcmLayout, StereoBecomesMonoByAveraging)
{
    // (1000 + 3000) / 2, (-32768 + -32768) / 2, (32767 + -32768) / 2
    EXPECT_EQ(converted({0xE8, 0x03, 0xB8, 0x0B, 0x00, 0x80, 0x00, 0x80, 0xFF, 0x7F, 0x00, 0x80}, 2, 16, 1),
              (std::vector<std::int16_t>{2000, -32768, 0}));
    EXPECT_EQ(converted({0xFF, 0x01, 0x90, 0x70}, 2, 8, 1),
              (std::vector<std::int16_t>{0, 0}));
}

TEST(PcmLayout, MonoBecomesStereoByDuplication)
{
    EXPECT_EQ(converted({0xE8, 0x03, 0x18, 0xFC}, 1, 16, 2),
              (std::vector<std::int16_t>{1000, 1000, -1000, -1000}));
    EXPECT_EQ(converted({0x90}, 1, 8, 2), (std::vector<std::int16_t>{0x1000, 0x1000}));
}

} // namespace
} // namespace orvalin
