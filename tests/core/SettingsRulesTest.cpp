#include "settings/SettingsRules.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

TEST(CompressionRules, RefuseBitratesEachSampleRateCannotCarry)
{
    EXPECT_EQ(compressionRuleMessage(11025, 80),
              "Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n");
    EXPECT_EQ(compressionRuleMessage(11025, 64), "");
    EXPECT_EQ(compressionRuleMessage(22050, 192),
              "Sample rate 22050 Hz cannot be used with bitrates above 160 kb/s.\n");
    EXPECT_EQ(compressionRuleMessage(22050, 160), "");
    EXPECT_EQ(compressionRuleMessage(44100, 56),
              "Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n");
    EXPECT_EQ(compressionRuleMessage(44100, 64), "");
    EXPECT_EQ(compressionRuleMessage(44100, 320), "");
    EXPECT_EQ(compressionRuleMessage(48000, 8), "");
}

TEST(InstructionLetter, KeepsOneLowerCaseLetterOtherThanS)
{
    EXPECT_EQ(normaliseInstructionLetter("e"), "e");
    EXPECT_EQ(normaliseInstructionLetter("Z"), "z");
    EXPECT_EQ(normaliseInstructionLetter("C"), "c");
    EXPECT_EQ(normaliseInstructionLetter("dx"), "d");
    EXPECT_EQ(normaliseInstructionLetter("S"), "c");
    EXPECT_EQ(normaliseInstructionLetter("s"), "c");
    EXPECT_EQ(normaliseInstructionLetter("7"), "c");
    EXPECT_EQ(normaliseInstructionLetter(""), "c");
    EXPECT_EQ(normaliseInstructionLetter(" "), "c");
    EXPECT_EQ(normaliseInstructionLetter("\xC3\xA9"), "c"); // é
}

} // namespace
} // namespace orvalin
