#include "SwfBytes.h"
#include "SwfTags.h"

#include <gtest/gtest.h>

namespace orvalin::swfgen {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(SwfBytesTest, PacksBitsMostSignificantFirstAcrossBytes)
{
    SwfBytes out;
    out.bits(0b101, 3);
    out.bits(0b11111, 5);
    out.bits(0b1, 1);
    out.signedBits(-1, 3);
    EXPECT_EQ(out.data(), (Bytes{0b10111111, 0b11110000}));
}

TEST(SwfBytesTest, ByteFieldsStartOnTheNextWholeByte)
{
    SwfBytes out;
    out.bits(1, 1);
    out.ui16(0x1234);
    out.ui32(0xA1B2C3D4);
    EXPECT_EQ(out.data(), (Bytes{0x80, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}));
}

TEST(SwfBytesTest, SignedFieldsHoldTheirSignBit)
{
    EXPECT_EQ(signedBitCount({0}), 1);
    EXPECT_EQ(signedBitCount({1}), 2);
    EXPECT_EQ(signedBitCount({-1}), 1);
    EXPECT_EQ(signedBitCount({-2}), 2);
    EXPECT_EQ(signedBitCount({4095}), 13);
    EXPECT_EQ(signedBitCount({-4096}), 13);
    EXPECT_EQ(signedBitCount({-4097}), 14);
    EXPECT_EQ(signedBitCount({3, 4000, -7}), 13);
}

// The streaming animation's 18 x 18 pixel stage, as the writer stores it.
TEST(SwfBytesTest, RectMatchesTheStreamWritersStage)
{
    SwfBytes out;
    out.rect(0, 360, 0, 360);
    EXPECT_EQ(out.data(), (Bytes{0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40}));
}

TEST(SwfBytesTest, TranslationMatrixCarriesOnlyAMove)
{
    SwfBytes none;
    none.translation(0, 0);
    EXPECT_EQ(none.data(), (Bytes{0x00}));

    // no scale, no rotation, 6 bits: 000110, then 010100 and 101100.
    SwfBytes moved;
    moved.translation(20, -20);
    EXPECT_EQ(moved.data(), (Bytes{0x0C, 0xA5, 0x80}));
}

TEST(SwfBytesTest, TagsUseTheLongHeaderFrom63Bytes)
{
    EXPECT_EQ(encodeTag({kShowFrameTag, {}}), (Bytes{0x40, 0x00}));

    const Tag shortTag{kDoActionTag, Bytes(62, 0xAA)};
    const auto shortBytes = encodeTag(shortTag);
    ASSERT_EQ(shortBytes.size(), 64u);
    EXPECT_EQ(shortBytes[0] | shortBytes[1] << 8, kDoActionTag << 6 | 62);

    const Tag longTag{kDoActionTag, Bytes(63, 0xAA)};
    const auto longBytes = encodeTag(longTag);
    ASSERT_EQ(longBytes.size(), 69u);
    EXPECT_EQ(longBytes[0] | longBytes[1] << 8, kDoActionTag << 6 | 0x3F);
    EXPECT_EQ(longBytes[2], 63);
    EXPECT_EQ(longBytes[3] | longBytes[4] | longBytes[5], 0);
}

TEST(SwfBytesTest, MovieHeaderDeclaresTheWholeLength)
{
    const auto file = movieFile({7, 4000, 800, 0x0100, 1}, {showFrame()});
    ASSERT_GE(file.size(), 8u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 3), "FWS");
    EXPECT_EQ(file[3], 7);
    EXPECT_EQ(file[4] | file[5] << 8 | file[6] << 16 | file[7] << 24, static_cast<int>(file.size()));
    // ShowFrame, then End.
    EXPECT_EQ(Bytes(file.end() - 4, file.end()), (Bytes{0x40, 0x00, 0x00, 0x00}));
}

} // namespace
} // namespace orvalin::swfgen
