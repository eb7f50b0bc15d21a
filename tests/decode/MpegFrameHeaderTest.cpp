#include "audio/MpegFrameHeader.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

// Header bytes 2 to 4 after the 0xFF: h1 0xFB is MPEG-1 Layer III without
// CRC; h2 0x90 is 128 kbit/s at 44100 Hz, 0x94 the same at 48000 Hz; bit 1
// of h2 is the padding bit.
TEST(MpegFrameLength, Mpeg1Layer3At128kbit)
{
    const MpegFrameInfo plain = parseMpegHeader(0xFB, 0x90, 0x44);
    EXPECT_EQ(plain.frameLength, 417);
    EXPECT_FALSE(plain.padded);
    EXPECT_EQ(plain.lengthWithPadding(), 417);

    const MpegFrameInfo padded = parseMpegHeader(0xFB, 0x92, 0x44);
    EXPECT_TRUE(padded.padded);
    EXPECT_EQ(padded.lengthWithPadding(), 418);

    const MpegFrameInfo at48k = parseMpegHeader(0xFB, 0x94, 0x44);
    EXPECT_EQ(at48k.sampleRate, 48000);
    EXPECT_EQ(at48k.frameLength, 384);
}

TEST(MpegFrameLength, HalfLengthLayer3AndFourByteLayer1Slots)
{
    // MPEG-2 Layer III, 32 kbit/s, 22050 Hz, mono: 72000 * 32 / 22050.
    const MpegFrameInfo mpeg2 = parseMpegHeader(0xF3, 0x40, 0xC4);
    EXPECT_EQ(mpeg2.version, MpegVersion::Mpeg2);
    EXPECT_FALSE(mpeg2.stereo);
    EXPECT_EQ(mpeg2.frameLength, 104);
    EXPECT_EQ(mpeg2.paddingSize, 1);

    // MPEG-1 Layer I, 384 kbit/s, 44100 Hz: 4 * (12000 * 384 / 44100), padded by a slot of 4.
    const MpegFrameInfo layer1 = parseMpegHeader(0xFF, 0xC2, 0x00);
    EXPECT_EQ(layer1.layer, MpegLayer::Layer1);
    EXPECT_EQ(layer1.frameLength, 416);
    EXPECT_EQ(layer1.lengthWithPadding(), 420);
}

} // namespace
} // namespace orvalin
