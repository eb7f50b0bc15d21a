#include "settings/ParametersFile.h"
#include "settings/ParametersLocation.h"
#include "settings/SettingsRules.h"

#include "ProgramFolderFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvalin {
namespace {

constexpr const char* kShippedDefaults =
    "y\r\n\r\n1\r\nstandard01200040\r\nc\r\n00\r\ny\r\nFFFFFF\r\n000000\r\n1\r\n128\r\n44100\r\n2\r\n";

class ParametersFileTest : public ::testing::Test, protected test::ProgramFolderFixture {};

TEST_F(ParametersFileTest, LoadsAndSavesBackByteForByte)
{
    test::writeText(parameters.path(), kShippedDefaults);
    parameters.loadParameters();
    EXPECT_EQ(settings, (ConversionSettings{true, "", OutputMode::Controller, "standard01200040", "c", 0, true, "FFFFFF", "000000", 1,
                                            128, 44100, 2}));
    parameters.saveParameters();
    EXPECT_EQ(parametersText(), kShippedDefaults);

    settings = {.outputFolder = "  /srv/web pages/ ", .controllerName = " round03150050 ", .instructionLetter = "e",
                .backgroundColour = "ff00ff", .nextOutputNumber = 42};
    const ConversionSettings saved = settings;
    parameters.saveParameters();
    settings = {};
    parameters.loadParameters();
    EXPECT_EQ(settings, saved);
    EXPECT_FALSE(test::fileExists(parameters.path() + ".new"));
}

TEST_F(ParametersFileTest, SavesThirteenCrLfLinesWithTwoDigitTipNumbers)
{
    for (const auto& [tip, written] : {std::pair{5, "05"}, {0, "00"}, {123, "123"}, {-1, "-1"}}) {
        settings = {.tipNumber = tip};
        parameters.saveParameters();
        const std::string expected =
            "n\r\n\r\n0\r\n\r\n\r\n" + std::string(written) + "\r\nn\r\n\r\n\r\n0\r\n0\r\n0\r\n0\r\n";
        EXPECT_EQ(parametersText(), expected);
        EXPECT_EQ(formatParameters(settings), expected);
        EXPECT_EQ(parseParameters(expected).tipNumber, tip);
    }
}

TEST(ParametersReading, FlagsAndNumbers)
{
    EXPECT_TRUE(parseParameters("y\n").outputToDesktop);
    for (const char* line : {"Y", "yes", "y ", " y", "", "n"})
        EXPECT_FALSE(parseParameters(std::string(line) + "\n").outputToDesktop) << line;
    for (const auto& [line, bitrate] : std::vector<std::pair<std::string, int>>{
             {"128 kb/s", 128}, {"007", 7}, {"  \t+64", 64}, {"-8", -8}, {"kb 128", 0}, {"", 0},
             {"99999999999999", 2147483647}})
        EXPECT_EQ(parseParameters("y\n\n1\n\nc\n00\ny\n\n\n1\n" + line + "\n").bitrate, bitrate) << line;
    // The output number is read as the others, then kept to its five digits.
    for (const auto& [line, number] : std::vector<std::pair<std::string, int>>{
             {"7 files", 7}, {"123456", 23456}, {"-5", 5}, {"-99999999999", 83648}, {"x7", 0}})
        EXPECT_EQ(parseParameters("y\n\n1\n\nc\n00\ny\n\n\n" + line + "\n").nextOutputNumber, number) << line;
}

// A short file leaves the rest empty; lines past the fourteenth are never read.
TEST(ParametersReading, AcceptsEitherLineEndAndShortOrLongFiles)
{
    const ConversionSettings full{false, "/out/", OutputMode::BareLooping, "x", "d", 3, false, "AA", "BB", 4, 5, 6, 7};
    EXPECT_EQ(parseParameters("n\n/out/\n2\nx\nd\n3\nn\nAA\nBB\n4\n5\n6\n7\n"), full);
    EXPECT_EQ(parseParameters("n\r\n/out/\r\n2\r\nx\r\nd\r\n3\r\nn\r\nAA\r\nBB\r\n4\r\n5\r\n6\r\n7"), full);
    EXPECT_EQ(parseParameters("n\rx\n/a\r\r\n").outputFolder, "/a\r");
    EXPECT_EQ(parseParameters("y\r\n/out/\r\n3\r\nname01100100\r\nf\r\n"),
              (ConversionSettings{true, "/out/", OutputMode::BareOnce, "name01100100", "f"}));
    EXPECT_EQ(parseParameters("n\n\n\n\n\n\n\n\n\n\n\n\n2\nn\ny\n").channels, 2);

    // The web player's line round-trips, and is written only while on.
    ConversionSettings withPlayer = full;
    withPlayer.webPlayer = true;
    EXPECT_EQ(formatParameters(withPlayer), formatParameters(full) + "y\r\n");
    EXPECT_EQ(parseParameters(formatParameters(withPlayer)), withPlayer);
    for (const char* line : {"y", "Y", "yes", ""})
        EXPECT_EQ(parseParameters(formatParameters(full) + line + "\r\n").webPlayer, line == std::string("y"));
}

// A missing file, or one in a folder that is not there (as for a user whose
// home folder does not exist), or a lock that is not a file: each ends the
// program, at once, with its own message.
TEST_F(ParametersFileTest, AMissingOrUnwritableFileIsFatalWithItsMessage)
{
    ParametersFile nowhere(settings, folder.file("missing/orvaln.da0"), messages, processExit);
    EXPECT_THROW(nowhere.loadParameters(), test::ProcessExited);
    EXPECT_THROW(nowhere.saveParameters(), test::ProcessExited);
    std::filesystem::remove(parameters.path());
    EXPECT_THROW(parameters.loadParameters(), test::ProcessExited);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(std::tuple(messages.shown[0].text, messages.shown[0].icon),
              std::tuple("Error: Missing parameters file. Cannot find or create the folder \"" +
                             folder.file("missing/") + "\".",
                         MessageIcon::Error));
    EXPECT_EQ(std::tuple(messages.shown[1].text, messages.shown[1].icon),
              std::tuple("Error: Cannot write to parameters file.", MessageIcon::Error));
    EXPECT_EQ(messages.shown[2].text, "Error: Missing parameters file.");

    // Run apart, so that an open waiting on the FIFO for ever fails the test.
    saveSettings();
    const std::string lock = parameters.path() + ".lock";
    std::filesystem::remove(lock);
    ASSERT_EQ(mkfifo(lock.c_str(), 0600), 0);
    const pid_t child = fork();
    if (child == 0) {
        alarm(10);
        try {
            parameters.reserveOutputNumber();
        } catch (const test::ProcessExited& exited) {
            _exit(messages.shown.back().text ==
                          "Error: Cannot write to parameters file. Its lock \"" + lock + "\" is not a file."
                      ? exited.status
                      : 100);
        }
        _exit(101);
    }
    int ended = 0;
    waitpid(child, &ended, 0);
    EXPECT_TRUE(WIFEXITED(ended)) << "stopped by signal " << WTERMSIG(ended);
    EXPECT_EQ(WEXITSTATUS(ended), 1);
}

// Another process (here another object on the same file) reserves numbers
// while this one holds stale settings: its saves never turn the number back,
// unless the user chose one, and a reservation touches no other setting.
TEST_F(ParametersFileTest, SavesAndReservationsKeepWhatOthersStored)
{
    ConversionSettings stale;
    ParametersFile elsewhere(stale, parameters.path(), messages, processExit);
    elsewhere.loadParameters();
    EXPECT_EQ(elsewhere.reserveOutputNumber(), 7);
    EXPECT_EQ(elsewhere.reserveOutputNumber(), 8);
    settings.bitrate = 64;
    parameters.saveParameters();
    EXPECT_EQ(std::tuple(savedSettings().nextOutputNumber, settings.nextOutputNumber, savedSettings().bitrate),
              std::tuple(9, 9, 64));
    settings.nextOutputNumber = 500;
    parameters.saveParameters();
    EXPECT_EQ(elsewhere.reserveOutputNumber(), 500);
    EXPECT_EQ(std::tuple(savedSettings().nextOutputNumber, stale.nextOutputNumber, savedSettings().bitrate),
              std::tuple(501, 501, 64));
}

// Saved through a link, the file it leads to takes the settings and keeps its
// permissions; the link stays.
TEST_F(ParametersFileTest, ALinkedFileStaysALinkAndKeepsItsMode)
{
    std::filesystem::create_directory(folder.file("real"));
    std::filesystem::rename(parameters.path(), folder.file("real/kept.da0"));
    std::filesystem::create_symlink("real/kept.da0", parameters.path());
    chmod(folder.file("real/kept.da0").c_str(), 0600);
    EXPECT_EQ(parameters.reserveOutputNumber(), 7);
    parameters.saveParameters();
    EXPECT_TRUE(std::filesystem::is_symlink(parameters.path()));
    EXPECT_EQ(parseParameters(test::readText(folder.file("real/kept.da0"))).nextOutputNumber, 8);
    EXPECT_EQ(std::filesystem::status(folder.file("real/kept.da0")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(CompressionRules, RefuseBitratesEachSampleRateCannotCarry)
{
    for (const auto& [rate, bitrate, message] : std::vector<std::tuple<int, int, std::string>>{
             {11025, 80, "Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n"}, {11025, 64, ""},
             {22050, 192, "Sample rate 22050 Hz cannot be used with bitrates above 160 kb/s.\n"}, {22050, 160, ""},
             {44100, 56, "Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n"}, {44100, 64, ""},
             {44100, 320, ""}, {48000, 8, ""}})
        EXPECT_EQ(compressionRuleMessage(rate, bitrate), message) << rate << " " << bitrate;
}

TEST(InstructionLetter, KeepsOneLowerCaseLetterOtherThanS)
{
    for (const auto& [letter, kept] : std::vector<std::pair<std::string, std::string>>{
             {"e", "e"}, {"Z", "z"}, {"C", "c"}, {"dx", "d"}, {"S", "c"}, {"s", "c"}, {"7", "c"}, {"", "c"},
             {" ", "c"}, {"\xC3\xA9", "c"}})
        EXPECT_EQ(normaliseInstructionLetter(letter), kept) << letter;
}

// Beside the program while it can be saved there, else in the user's folder.
// (Seeding the user's copy is tried by the install test, as a user who
// cannot write in the program folder.)
TEST_F(ParametersFileTest, BesideTheProgramWhileItCanBeSavedThereElseTheUsersOwn)
{
    const std::string own = folder.file("config/orvalin/");
    EXPECT_EQ(chooseParametersPath(folder.path(), own), parameters.path());
    EXPECT_EQ(chooseParametersPath(folder.file("gone/"), own), own + kParametersFileName);
}

} // namespace
} // namespace orvalin
