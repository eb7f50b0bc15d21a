#include "settings/ParametersFile.h"

#include "FakePlatform.h"
#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

using test::ProcessExited;

constexpr const char* kShippedDefaults =
    "y\r\n\r\n1\r\nstandard01200040\r\nc\r\n00\r\ny\r\nFFFFFF\r\n000000\r\n1\r\n128\r\n44100\r\n2\r\n";

class ParametersFileTest : public ::testing::Test {
protected:
    std::string path() const { return folder.file(kParametersFileName); }

    ParametersFile file() { return ParametersFile(settings, path(), messages, processExit); }

    test::TestFolder folder;
    ConversionSettings settings;
    test::RecordingMessages messages;
    test::ThrowingProcessExit processExit;
};

TEST_F(ParametersFileTest, LoadsAndSavesBackByteForByte)
{
    test::writeText(path(), kShippedDefaults);
    file().loadParameters();

    EXPECT_TRUE(settings.outputToDesktop);
    EXPECT_EQ(settings.outputFolder, "");
    EXPECT_EQ(settings.outputMode, 1);
    EXPECT_EQ(settings.controllerName, "standard01200040");
    EXPECT_EQ(settings.instructionLetter, "c");
    EXPECT_EQ(settings.tipNumber, 0);
    EXPECT_TRUE(settings.showTipsAtStartup);
    EXPECT_EQ(settings.backgroundColour, "FFFFFF");
    EXPECT_EQ(settings.textColour, "000000");
    EXPECT_EQ(settings.nextOutputNumber, 1);
    EXPECT_EQ(settings.bitrate, 128);
    EXPECT_EQ(settings.sampleRate, 44100);
    EXPECT_EQ(settings.channels, 2);

    file().saveParameters();
    EXPECT_EQ(test::readText(path()), kShippedDefaults);
}

TEST_F(ParametersFileTest, TextsKeepTheirBlanksThroughSaveAndLoad)
{
    settings.outputFolder = "  /srv/web pages/ ";
    settings.controllerName = " round03150050 ";
    settings.backgroundColour = "ff00ff";
    settings.textColour = "";
    settings.instructionLetter = "e";
    const ConversionSettings saved = settings;

    file().saveParameters();
    settings = {};
    file().loadParameters();
    EXPECT_EQ(settings, saved);
}

TEST_F(ParametersFileTest, SavesThirteenCrLfLinesWithTwoDigitTipNumbers)
{
    for (const auto& [tip, written] :
         {std::pair{5, "05"}, {0, "00"}, {123, "123"}, {-1, "-1"}}) {
        settings.tipNumber = tip;
        file().saveParameters();
        const std::string text = test::readText(path());
        EXPECT_EQ(text, formatParameters(settings));

        std::size_t lines = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++lines;
                EXPECT_EQ(text[i - 1], '\r');
            }
        }
        EXPECT_EQ(lines, 13u);
        EXPECT_EQ(parseParameters(text).tipNumber, tip);
        EXPECT_NE(text.find("\r\n" + std::string(written) + "\r\n"), std::string::npos);
    }
}

TEST(ParametersReading, FlagsAreTrueOnlyForALowerCaseY)
{
    EXPECT_TRUE(parseParameters("y\n").outputToDesktop);
    for (const char* line : {"Y", "yes", "y ", " y", "", "n"})
        EXPECT_FALSE(parseParameters(std::string(line) + "\n").outputToDesktop) << line;
}

TEST(ParametersReading, NumbersFollowTheLeadingDigits)
{
    const auto withBitrate = [](const std::string& line) {
        return parseParameters("y\n\n1\n\nc\n00\ny\n\n\n1\n" + line + "\n").bitrate;
    };
    EXPECT_EQ(withBitrate("128 kb/s"), 128);
    EXPECT_EQ(withBitrate("007"), 7);
    EXPECT_EQ(withBitrate("  \t+64"), 64);
    EXPECT_EQ(withBitrate("-8"), -8);
    EXPECT_EQ(withBitrate("kb 128"), 0);
    EXPECT_EQ(withBitrate(""), 0);
    EXPECT_EQ(withBitrate("99999999999999"), 2147483647);
}

TEST(ParametersReading, AcceptsLfAndCrLfAndKeepsALoneCarriageReturnInText)
{
    const ConversionSettings fromLf = parseParameters("n\n/out/\n2\nx\nd\n3\nn\nAA\nBB\n4\n5\n6\n7\n");
    const ConversionSettings fromCrLf =
        parseParameters("n\r\n/out/\r\n2\r\nx\r\nd\r\n3\r\nn\r\nAA\r\nBB\r\n4\r\n5\r\n6\r\n7\r\n");
    EXPECT_EQ(fromLf, fromCrLf);
    EXPECT_EQ(fromLf.outputFolder, "/out/");
    EXPECT_EQ(fromLf.channels, 7);
    EXPECT_EQ(parseParameters("n\rx\n/a\r\r\n").outputFolder, "/a\r");
}

TEST(ParametersReading, AShortFileLeavesTheRestEmpty)
{
    const ConversionSettings settings = parseParameters("y\r\n/out/\r\n3\r\nname01100100\r\nf\r\n");
    EXPECT_TRUE(settings.outputToDesktop);
    EXPECT_EQ(settings.instructionLetter, "f");
    EXPECT_EQ(settings.tipNumber, 0);
    EXPECT_FALSE(settings.showTipsAtStartup);
    EXPECT_EQ(settings.backgroundColour, "");
    EXPECT_EQ(settings.textColour, "");
    EXPECT_EQ(settings.nextOutputNumber, 0);
    EXPECT_EQ(settings.bitrate, 0);
    EXPECT_EQ(settings.sampleRate, 0);
    EXPECT_EQ(settings.channels, 0);
    // The last line may lack its line end, and lines past the thirteenth are never read.
    EXPECT_EQ(parseParameters("n\n\n\n\n\n\n\n\n\n\n\n\n2").channels, 2);
    EXPECT_EQ(parseParameters("n\n\n\n\n\n\n\n\n\n\n\n\n2\n9\n").channels, 2);
}

TEST_F(ParametersFileTest, AnUpperCaseYIsSavedAsN)
{
    test::writeText(path(), "Y\r\n");
    file().loadParameters();
    file().saveParameters();
    EXPECT_EQ(test::readText(path()).substr(0, 3), "n\r\n");
}

TEST_F(ParametersFileTest, AMissingFileIsFatalWithItsMessage)
{
    try {
        file().loadParameters();
        FAIL() << "loading a missing file returned";
    } catch (const ProcessExited& exited) {
        EXPECT_EQ(exited.status, 1);
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error: Missing parameters file.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].owner, MessageOwner::None);
}

TEST_F(ParametersFileTest, AnUnwritableFileIsFatalAndTheOldFileStaysWhole)
{
    ParametersFile nowhere(settings, folder.file("missing-folder/orvaln.da0"), messages, processExit);
    EXPECT_THROW(nowhere.saveParameters(), ProcessExited);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error: Cannot write to parameters file.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].owner, MessageOwner::MainWindow);

    // A save that cannot complete leaves the previous file as it was.
    test::writeText(path(), kShippedDefaults);
    std::filesystem::create_directory(path() + ".new"); // the save's temporary cannot be made
    EXPECT_THROW(file().saveParameters(), ProcessExited);
    EXPECT_EQ(test::readText(path()), kShippedDefaults);
}

TEST_F(ParametersFileTest, SavingReplacesTheFileWithoutLeavingATemporary)
{
    test::writeText(path(), kShippedDefaults);
    file().loadParameters();
    settings.nextOutputNumber = 42;
    file().saveParameters();
    EXPECT_EQ(parseParameters(test::readText(path())).nextOutputNumber, 42);
    EXPECT_FALSE(test::fileExists(path() + ".new"));
}

} // namespace
} // namespace orvalin
