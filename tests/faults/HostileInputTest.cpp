// Inputs made to hurt: bytes that look like frame starts everywhere, tags and
// chunks whose sizes lie, hours of sound, awkward names and a huge page text.
// Each run must end, with a plain message or a correct output.

#include "RealConversion.h"
#include "SwfFile.h"
#include "TestAudio.h"
#include "TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::RealConversion;

const std::string kProgramFolder = ORVALIN_PROGRAM_DIR;

class HostileInputTest : public ::testing::Test {
protected:
    Bytes toneMp3()
    {
        EXPECT_TRUE(test::writeToneFiles(inputs, "tone"));
        return test::readBytes(inputs.file("tone.mp3"));
    }

    std::string write(const std::string& name, const Bytes& bytes)
    {
        test::writeBytes(inputs.file(name), bytes);
        return inputs.file(name);
    }

    test::TestFolder inputs;
};

int soundBlocks(const RealConversion& run)
{
    const auto swf = test::parseSwf(test::readBytes(run.output("orvaln1s.swf")));
    return static_cast<int>(swf.tagsWithCode(test::kSoundStreamBlockTag).size());
}

void putUi32(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Every byte starts a frame candidate; the decoder rejects them all, and the
// encoder's flush is all that remains.
TEST_F(HostileInputTest, BytesOfAllOnesGiveASilentAnimation)
{
    RealConversion run(kProgramFolder);
    run.run(write("ones.mp3", Bytes(512 * 1024, 0xFF)));
    test::expectSoundAftermath(run);
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
    EXPECT_LE(soundBlocks(run), 1);
}

TEST_F(HostileInputTest, RunsOfOnesInsideAnMp3AreSkipped)
{
    const Bytes clean = toneMp3();
    Bytes spoiled;
    for (std::size_t at = 0; at < clean.size(); at += 4000) {
        spoiled.insert(spoiled.end(), clean.begin() + at, clean.begin() + std::min(at + 4000, clean.size()));
        spoiled.insert(spoiled.end(), 3000, 0xFF);
    }
    RealConversion run(kProgramFolder);
    run.run(write("spoiled.mp3", spoiled));
    test::expectSoundAftermath(run);
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
    EXPECT_GE(soundBlocks(run), 2);
}

// The tag is taken at its word: it covers the whole file, so no frame is
// left to decode and the run fails as for any MP3 without sound.
TEST_F(HostileInputTest, AnId3TagAnnouncingMoreThanTheFileLeavesNoSound)
{
    const Bytes sound = toneMp3();
    for (const std::uint8_t sizeByte : {0x7F, 0xFF}) {
        SCOPED_TRACE(int(sizeByte));
        Bytes tagged = {'I', 'D', '3', 3, 0, 0, sizeByte, sizeByte, sizeByte, sizeByte};
        tagged.insert(tagged.end(), sound.begin(), sound.end());
        RealConversion run(kProgramFolder);
        run.run(write("tagged.mp3", tagged));
        test::expectSoundAftermath(run);
        EXPECT_EQ(run.outcome(), JobOutcome::Failed);
        EXPECT_EQ(run.messageTexts(), std::vector<std::string>{"Error: Cannot open WAV file."});
    }
}

TEST_F(HostileInputTest, WavChunkSizesThatLieEndTheWalk)
{
    test::TestTone tone;
    tone.seconds = 2.5;
    tone.chunksBefore = {{"JUNK", Bytes(8, 0)}};
    const Bytes wav = test::makeWav(tone);
    // RIFF header at 0, JUNK at 12, "fmt " at 28, "data" at 52.
    ASSERT_EQ(std::string(wav.begin() + 28, wav.begin() + 32), "fmt ");
    ASSERT_EQ(std::string(wav.begin() + 52, wav.begin() + 56), "data");

    struct Case {
        const char* what;
        std::size_t offset;
        std::uint32_t value;
        bool converts;
    };
    const Case cases[] = {
        {"a chunk reaching past the end", 16, 0xFFFFFF00, false},
        {"a chunk wrapping back to the header", 16, 0xFFFFFFEC, false},
        {"a chunk wrapping back onto itself", 16, 0xFFFFFFF8 - 1, false},
        {"a format chunk past the end", 32, 0xFFFFFFFF, false},
        {"a data chunk past the end", 56, 0xFFFFFFFE, true},
        {"a RIFF size past the end", 4, 0xFFFFFFFF, true},
        {"a RIFF size of nothing", 4, 0, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Bytes lying = wav;
        putUi32(lying, test.offset, test.value);
        RealConversion run(kProgramFolder);
        run.run(write("lying.wav", lying));
        test::expectSoundAftermath(run);
        if (test.converts) {
            EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
            EXPECT_EQ(soundBlocks(run), 3);
        } else {
            EXPECT_EQ(run.outcome(), JobOutcome::Failed);
            EXPECT_EQ(run.messageTexts(), std::vector<std::string>{"Error: Format not supported."});
        }
    }
}

// Four and a half hours of CD sound, 2.9 GB that take no disk space, through a
// stand-in encoder so that the test does not wait for LAME: the animation
// stops at its 16000 one-second blocks.
TEST_F(HostileInputTest, HoursOfSoundStopAtTheFrameLimit)
{
    constexpr std::uint64_t kSeconds = 16200;
    constexpr std::uint32_t kDataSize = static_cast<std::uint32_t>(kSeconds * 44100 * 4);
    test::TestTone header;
    header.seconds = 0;
    Bytes wav = test::makeWav(header);
    ASSERT_EQ(wav.size(), 44u);
    putUi32(wav, 4, 36 + kDataSize);
    putUi32(wav, 40, kDataSize);
    const std::string path = write("hours.wav", wav);
    fs::resize_file(path, wav.size() + kDataSize);

    test::ProgramFolderCopy program(kProgramFolder);
    fs::remove(program.path() + "lame_enc.so");
    fs::copy_file(QUICK_ENCODER_MODULE, program.path() + "lame_enc.so");
    RealConversion run(program.path());
    run.run(path);
    test::expectSoundAftermath(run);
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
    const auto swf = test::parseSwf(test::readBytes(run.output("orvaln1s.swf")));
    EXPECT_EQ(swf.frameCount, 16001);
    EXPECT_EQ(swf.tagsWithCode(test::kSoundStreamBlockTag).size(), 16000u);
}

TEST_F(HostileInputTest, NamesWithSpacesQuotesAndAccentsWork)
{
    const std::string folder = inputs.file("Mix 'n' \"Match\" — Ça été/");
    fs::create_directory(folder);
    const std::string path = folder + "Café \"Live\" 'B-side'.mp3";
    test::writeBytes(path, toneMp3());

    RealConversion run(kProgramFolder);
    run.settings.outputFolder = folder;
    run.run(path);
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
    EXPECT_EQ(test::parseSwf(test::readBytes(folder + "orvaln1s.swf")).frameCount, 4);
    EXPECT_TRUE(test::fileExists(folder + "orvaln1c.swf"));
    // The page text is the file's name, in the page's Windows-1252.
    const std::string page = test::readText(folder + "orvaln1.htm");
    const std::string name = "Caf\xE9 \"Live\" 'B-side'";
    const auto first = page.find(name);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(page.find(name, first + 1), std::string::npos) << "in the title and under the animation";
}

TEST_F(HostileInputTest, AHugePageTextReachesThePageWhole)
{
    std::string text;
    while (text.size() < 100000)
        text += "Tom & Jerry <live> | 2005 ";
    text.resize(100000);

    RealConversion run(kProgramFolder);
    run.outputText = text;
    run.run(write("tone.mp3", toneMp3()));
    test::expectSoundAftermath(run);
    ASSERT_EQ(run.outcome(), JobOutcome::Succeeded);
    const std::string page = test::readText(run.output("orvaln1.htm"));
    std::string shown = text;
    for (char& c : shown) {
        if (c == '&')
            c = '*';
        else if (c == '<')
            c = '(';
        else if (c == '>')
            c = ')';
        else if (c == '|')
            c = '!';
    }
    const auto first = page.find(shown);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(page.find(shown, first + 1), std::string::npos) << "in the title and under the animation";
}

} // namespace
} // namespace orvalin
