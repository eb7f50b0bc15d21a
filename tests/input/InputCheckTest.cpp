#include "Id3Bytes.h"
#include "InputCheckRun.h"
#include "TestAudio.h"
#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

using test::runInputCheck;

class InputCheck : public ::testing::Test {
protected:
    // Expects a failed check with exactly one warning, owned by the main window.
    static void expectRefusal(const test::InputCheckRun& run, const std::string& message)
    {
        EXPECT_FALSE(run.passed);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, message);
        EXPECT_EQ(run.shown[0].icon, MessageIcon::Warning);
        EXPECT_EQ(run.shown[0].buttons, MessageButtons::Ok);
        EXPECT_EQ(run.shown[0].owner, MessageOwner::MainWindow);
    }

    std::string untaggedMp3(const std::string& name)
    {
        const std::string path = folder.file(name);
        test::writeText(path, test::audioBytes());
        return path;
    }

    test::TestFolder folder;
};

TEST_F(InputCheck, RefusesWildCardsBeforeLookingAtTheName)
{
    const std::string star = folder.file("so*ng.txt");
    expectRefusal(runInputCheck(star), "Error: Wild card \"*\" not allowed in file name \"" + star + "\".");

    const std::string question = folder.file("so?ng.mp3");
    expectRefusal(runInputCheck(question),
                  "Error: Wild card \"?\" not allowed in file name \"" + question + "\".");

    const std::string both = folder.file("a?b*c.mp3");
    expectRefusal(runInputCheck(both), "Error: Wild card \"*\" not allowed in file name \"" + both + "\".");
}

TEST_F(InputCheck, WantsTheExtensionMp3OrWavInAnyCase)
{
    for (const char* name : {"song.mp3.txt", "song", "song.mp", "song.mp3 ", ".mp3.wma"}) {
        const std::string path = untaggedMp3(name);
        expectRefusal(runInputCheck(path),
                      "Error: Input file name \"" + path + "\" must end in \".mp3\" or \".wav\".");
    }
    for (const char* name : {"a.mp3", "b.MP3", "c.Mp3", "d.wav", "e.WAV", "f.wAv"}) {
        const auto run = runInputCheck(untaggedMp3(name));
        EXPECT_TRUE(run.passed) << name;
        EXPECT_TRUE(run.shown.empty()) << name;
    }
}

TEST_F(InputCheck, TakesTheExtensionFromTheLastPathElementOnly)
{
    std::filesystem::create_directory(folder.file("album.mp3"));
    const std::string path = untaggedMp3("album.mp3/track");
    expectRefusal(runInputCheck(path), "Error: Input file name \"" + path + "\" must end in \".mp3\" or \".wav\".");

    const auto dotted = runInputCheck(untaggedMp3("album.mp3/01. Intro.v2.MP3"));
    EXPECT_TRUE(dotted.passed);
    EXPECT_EQ(dotted.context.outputText, "01. Intro.v2");
}

TEST_F(InputCheck, ProposesTheBaseNameOfAnUntaggedMp3)
{
    const auto run = runInputCheck(untaggedMp3("Song.MP3"));
    EXPECT_TRUE(run.passed);
    EXPECT_FALSE(run.context.inputIsWav);
    EXPECT_EQ(run.context.outputText, "Song");

    const auto unicode = runInputCheck(untaggedMp3("Sigur Rós – Hoppípolla.MP3"));
    EXPECT_TRUE(unicode.passed);
    EXPECT_EQ(unicode.context.outputText, "Sigur Rós – Hoppípolla");
}

TEST_F(InputCheck, LeavesTheBaseNameWhenTheCheckFails)
{
    ProgramContext context;
    context.inputPath = folder.file("Missing Song.mp3");
    context.outputText = "from an earlier run";
    test::RecordingMessages messages;
    EXPECT_FALSE(checkInput(context, messages));
    EXPECT_EQ(context.outputText, "Missing Song");

    const auto wildCard = runInputCheck(folder.file("Wild*.mp3"));
    EXPECT_EQ(wildCard.context.outputText, "Wild*");
}

TEST_F(InputCheck, ReportsAMissingFileOrAFolderAsNotFound)
{
    const std::string missing = folder.file("missing.mp3");
    expectRefusal(runInputCheck(missing), "Error: Input file not found \"" + missing + "\".");

    const std::string subfolder = folder.file("looks like a file.wav");
    std::filesystem::create_directory(subfolder);
    expectRefusal(runInputCheck(subfolder), "Error: Input file not found \"" + subfolder + "\".");
}

TEST_F(InputCheck, RefusesAnEmptyFile)
{
    const std::string path = folder.file("empty.mp3");
    test::writeText(path, "");
    expectRefusal(runInputCheck(path), "Error: Input file contains no data \"" + path + "\".");
}

TEST_F(InputCheck, ReadsNoTagsFromAWav)
{
    // Bytes that would be tags in an MP3, one of them cut short, must not
    // matter for a WAV.
    const std::string path = folder.file("take.WAV");
    test::writeText(path, test::id3v2Header(3, 0, 5000) + test::id3v2Frame(3, "TIT2", "\x00Title") +
                              std::string(200, '\0') + test::id3v1Tag("Title", "Artist"));
    const auto run = runInputCheck(path);
    EXPECT_TRUE(run.passed);
    EXPECT_TRUE(run.shown.empty());
    EXPECT_TRUE(run.context.inputIsWav);
    EXPECT_EQ(run.context.outputText, "take");

    const std::string realWav = folder.file("tone.wav");
    test::writeWav(realWav, test::TestTone{});
    const auto tone = runInputCheck(realWav);
    EXPECT_TRUE(tone.passed);
    EXPECT_EQ(tone.context.outputText, "tone");
}

TEST_F(InputCheck, ClearsTheWavFlagForAnMp3)
{
    ProgramContext context;
    context.inputPath = untaggedMp3("song.mp3");
    context.inputIsWav = true;
    test::RecordingMessages messages;
    EXPECT_TRUE(checkInput(context, messages));
    EXPECT_FALSE(context.inputIsWav);
}

TEST_F(InputCheck, RefusesAnMp3WhoseTagRunsPastTheEndOfTheFile)
{
    const std::string path = folder.file("cut.mp3");
    const std::string tag = test::id3v2Tag(3, test::id3v2Frame(3, "TPE1", test::textData(0, "Artist")) +
                                                  test::id3v2Frame(3, "TIT2", test::textData(0, "A title")));
    test::writeText(path, tag.substr(0, tag.size() - 3));
    expectRefusal(runInputCheck(path), "Error: End of input file reached before end of expected data.");
    EXPECT_EQ(runInputCheck(path).context.outputText, "cut");
}

} // namespace
} // namespace orvalin
