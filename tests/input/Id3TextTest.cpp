#include "audio/Id3Text.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using namespace std::string_literals;

TEST(Id3Text, Latin1BecomesUtf8)
{
    EXPECT_EQ(latin1ToUtf8("Bj\xF6rk \xA9\xFF"), "Björk ©ÿ");
    EXPECT_EQ(id3v2TextToUtf8(0, "Caf\xE9"), "Café");
    // An encoding byte no version defines: read the bytes as ISO-8859-1.
    EXPECT_EQ(id3v2TextToUtf8(7, "Caf\xE9"), "Café");
}

TEST(Id3Text, Utf16FollowsItsByteOrderMark)
{
    EXPECT_EQ(id3v2TextToUtf8(1, "\xFF\xFE\x21\x04\x35\x04"s), "Се");
    EXPECT_EQ(id3v2TextToUtf8(1, "\xFE\xFF\x04\x21\x04\x35"s), "Се");
    // Without a mark, little-endian.
    EXPECT_EQ(id3v2TextToUtf8(1, "\xE5\x65\x2C\x67"s), "日本");
    EXPECT_EQ(id3v2TextToUtf8(2, "\x65\xE5\x67\x2C"s), "日本");
    // A mark where big-endian needs none is dropped, not shown.
    EXPECT_EQ(id3v2TextToUtf8(2, "\xFE\xFF\x65\xE5"s), "日");
}

TEST(Id3Text, Utf16SurrogatesPairUpOrAreReplaced)
{
    EXPECT_EQ(id3v2TextToUtf8(2, "\xD8\x3C\xDF\xB5"s), "🎵");
    EXPECT_EQ(id3v2TextToUtf8(2, "\xD8\x3C\0A"s), "\uFFFDA");
    EXPECT_EQ(id3v2TextToUtf8(2, "\xDF\xB5\0A"s), "\uFFFDA");
    EXPECT_EQ(id3v2TextToUtf8(2, "\0A\xD8\x3C"s), "A\uFFFD");
    // An odd last byte is half a character.
    EXPECT_EQ(id3v2TextToUtf8(2, "\0A\0"s), "A");
}

TEST(Id3Text, Utf8IsKeptButLatin1InDisguiseIsRepaired)
{
    EXPECT_EQ(id3v2TextToUtf8(3, "夜に駆ける 🎵"), "夜に駆ける 🎵");
    EXPECT_EQ(id3v2TextToUtf8(3, "\xEF\xBB\xBFMark"), "Mark");
    EXPECT_EQ(id3v2TextToUtf8(3, "Bj\xF6rk"), "Björk");
    // Overlong forms and encoded surrogates are no UTF-8 either.
    EXPECT_EQ(id3v2TextToUtf8(3, "\xC0\xAF"), "À¯");
    EXPECT_EQ(id3v2TextToUtf8(3, "\xED\xA0\x80"), "í\u00A0\u0080");
}

TEST(Id3Text, TextEndsAtItsTerminator)
{
    EXPECT_EQ(id3v2TextToUtf8(0, "One\0Two"s), "One");
    EXPECT_EQ(id3v2TextToUtf8(3, "One\0Two"s), "One");
    EXPECT_EQ(id3v2TextToUtf8(1, "\xFF\xFEO\0\0\0\xFF\xFET\0"s), "O");
    // A zero byte inside a UTF-16 character is no terminator.
    EXPECT_EQ(id3v2TextToUtf8(2, "\0O\0n\0e"s), "One");
}

} // namespace
} // namespace orvalin
