// The SWF layer's byte writer, and the generator's whole movie file read back
// by the tests' own SWF reader.
#include "SwfFile.h"
#include "SwfTags.h"
#include "swf/SwfBytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace orvalin::swfgen {
namespace {

using Bytes = std::vector<std::uint8_t>;
using swf::SwfBytes;
using swf::signedBitCount;

Bytes written(const std::function<void(SwfBytes&)>& write)
{
    SwfBytes out;
    write(out);
    return out.data();
}

Bytes encodeTag(const Tag& tag)
{
    return written([&](SwfBytes& o) { o.tag(tag.code, tag.body); });
}

TEST(SwfBytesTest, FieldsAreStoredAsTheFileFormatWantsThem)
{
    const std::pair<Bytes, Bytes> cases[] = {
        // Bits go most significant first, across bytes.
        {written([](SwfBytes& o) { o.bits(0b101, 3), o.bits(0b11111, 5), o.bits(1, 1), o.signedBits(-1, 3); }),
         {0b10111111, 0b11110000}},
        // Byte fields start on the next whole byte, little-endian.
        {written([](SwfBytes& o) { o.bits(1, 1), o.ui16(0x1234), o.ui32(0xA1B2C3D4); }),
         {0x80, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}},
        {written([](SwfBytes& o) { o.string("ab"), o.ui8(7), o.bytes({1, 2}); }), {'a', 'b', 0, 7, 1, 2}},
        // The streaming animation's 18 x 18 pixel stage, as its writer stores it.
        {written([](SwfBytes& o) { o.rect(0, 360, 0, 360); }), {0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40}},
        // Matrices only move: no scale, no rotation, then 6-bit offsets 20 and -20.
        {written([](SwfBytes& o) { o.translation(0, 0); }), {0x00}},
        {written([](SwfBytes& o) { o.translation(20, -20); }), {0x0C, 0xA5, 0x80}},
        {encodeTag(showFrame()), {0x40, 0x00}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(bytes, expected);

    // Signed fields hold their sign bit.
    EXPECT_EQ((std::vector<int>{signedBitCount({0}), signedBitCount({1}), signedBitCount({-1}), signedBitCount({-2}),
                                signedBitCount({4095}), signedBitCount({-4096}), signedBitCount({-4097}),
                                signedBitCount({3, 4000, -7})}),
              (std::vector<int>{1, 2, 1, 2, 13, 13, 14, 13}));
}

TEST(SwfBytesTest, TagsUseTheLongHeaderFrom63Bytes)
{
    const auto shortTag = encodeTag({swf::TagCode::DoAction, Bytes(62, 0xAA)});
    EXPECT_EQ(shortTag.size(), 64u);
    EXPECT_EQ(Bytes(shortTag.begin(), shortTag.begin() + 3), (Bytes{0x3E, 0x03, 0xAA}));
    const auto longTag = encodeTag({swf::TagCode::DoAction, Bytes(63, 0xAA)});
    EXPECT_EQ(longTag.size(), 69u);
    EXPECT_EQ(Bytes(longTag.begin(), longTag.begin() + 7), (Bytes{0x3F, 0x03, 63, 0, 0, 0, 0xAA}));
}

TEST(SwfBytesTest, MovieFileHasItsHeaderTagsAndEnd)
{
    const auto swf = test::parseSwf(movieFile({7, 4000, 800, 0x0180, 1}, {showFrame()}));
    EXPECT_EQ(swf.signature, "FWS");
    EXPECT_EQ(swf.version, 7);
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
    EXPECT_EQ(swf.frame, (std::vector<int>{0, 4000, 0, 800}));
    EXPECT_EQ(swf.frameRate, 1.5);
    EXPECT_EQ(swf.frameCount, 1);
    ASSERT_EQ(swf.tags.size(), 2u);
    EXPECT_EQ(swf.tags[0].code, swf::TagCode::ShowFrame);
}

} // namespace
} // namespace orvalin::swfgen
