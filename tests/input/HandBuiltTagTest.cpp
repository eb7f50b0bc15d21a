#include "Id3Bytes.h"
#include "InputCheckRun.h"
#include "TagWriters.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using namespace std::string_literals;
using test::audioBytes;
using test::id3v1Tag;
using test::id3v2Frame;
using test::id3v2Header;
using test::id3v2Tag;
using test::textData;

const std::string kEndOfFileMessage = "Error: End of input file reached before end of expected data.";

std::string artistFrame(int version, std::string_view artist = "Artist")
{
    return id3v2Frame(version, "TPE1", textData(0, artist));
}

std::string titleFrame(int version, std::string_view title = "Title")
{
    return id3v2Frame(version, "TIT2", textData(0, title));
}

// Tags no tagger writes on purpose: damaged, cut short, or using the rarer
// parts of the format.
class HandBuiltTag : public ::testing::Test {
protected:
    test::InputCheckRun check(const std::string& bytes)
    {
        test::writeText(path, bytes);
        return test::runInputCheck(path);
    }

    std::string proposal(const std::string& bytes)
    {
        const auto run = check(bytes);
        EXPECT_TRUE(run.passed);
        EXPECT_TRUE(run.shown.empty()) << (run.shown.empty() ? "" : run.shown[0].text);
        return run.context.outputText;
    }

    void expectEndOfFile(const std::string& bytes)
    {
        const auto run = check(bytes);
        EXPECT_FALSE(run.passed);
        ASSERT_EQ(run.shown.size(), 1u);
        EXPECT_EQ(run.shown[0].text, kEndOfFileMessage);
        EXPECT_EQ(run.context.outputText, "Base");
    }

    test::TestFolder folder;
    const std::string path = folder.file("Base.mp3");
};

TEST_F(HandBuiltTag, WalkStopsAtPaddingAndAtTheTagEnd)
{
    // A frame behind the padding is no longer part of the tag.
    EXPECT_EQ(proposal(id3v2Tag(3, artistFrame(3) + std::string(10, '\0') + titleFrame(3)) + audioBytes()),
              "Artist");
    // Nor is a frame behind the size the header gives.
    EXPECT_EQ(proposal(id3v2Header(3, 0, static_cast<std::uint32_t>(artistFrame(3).size())) + artistFrame(3) +
                       titleFrame(3) + audioBytes()),
              "Artist");
    // Padding may reach the very end of a file without audio.
    EXPECT_EQ(proposal(id3v2Tag(4, artistFrame(4) + titleFrame(4), 4)), "Artist - Title");
}

TEST_F(HandBuiltTag, ExtendedHeaderIsSkipped)
{
    // Version 2.3 counts the extended header without its size field, 2.4 with it.
    const std::string extended23 = "\0\0\0\x06"s + "\0\0"s + "\0\0\0\0"s;
    const std::string extended24 = test::syncsafeBytes(6) + "\x01\0"s;
    for (const auto& [version, extended] : {std::pair{3, extended23}, std::pair{4, extended24}}) {
        const std::string body = extended + artistFrame(version) + titleFrame(version);
        const std::string bytes = id3v2Header(version, 0x40, static_cast<std::uint32_t>(body.size() + 20)) +
                                  body + std::string(20, '\0') + audioBytes();
        test::writeText(path, bytes);
        ASSERT_EQ(test::readWithMutagen(path), "Artist|Title") << "ID3v2." << version;
        EXPECT_EQ(proposal(bytes), "Artist - Title") << "ID3v2." << version;
    }
}

TEST_F(HandBuiltTag, OverlongTextsEndTheWalkWithoutReadingThem)
{
    const std::string limit(32768, 'c');
    const auto commentThenTitle = [&](std::string_view comment) {
        return id3v2Tag(3, artistFrame(3) + id3v2Frame(3, "COMM", textData(0, comment)) + titleFrame(3)) +
               audioBytes();
    };
    EXPECT_EQ(proposal(commentThenTitle(limit)), "Artist - Title");
    EXPECT_EQ(proposal(commentThenTitle(limit + "c")), "Artist");
}

TEST_F(HandBuiltTag, AbsurdSizesNeitherHangNorFail)
{
    // Sizes of gigabytes in a file of a kilobyte: the walk ends at once.
    EXPECT_EQ(proposal(id3v2Tag(3, artistFrame(3) + test::frameWithSizeBytes("TXXX", "\xFF\xFF\xFF\xFF", "x") +
                                       titleFrame(3)) +
                       audioBytes()),
              "Artist");
    EXPECT_EQ(proposal(id3v2Tag(4, artistFrame(4) + test::frameWithSizeBytes("TIT2", "\x7F\x7F\x7F\x7F", "x")) +
                       audioBytes()),
              "Artist");
    // A tag that claims 256 megabytes: the walk runs into the audio, whose
    // bytes make no believable frame.
    EXPECT_EQ(proposal(id3v2Header(3, 0, 0x0FFFFFFF) + artistFrame(3) + titleFrame(3) + audioBytes()),
              "Artist - Title");
}

TEST_F(HandBuiltTag, DamagedSyncsafeSizesAreNotBelieved)
{
    // A syncsafe byte never has its top bit set.
    std::string damagedTag = id3v2Tag(4, artistFrame(4) + titleFrame(4));
    damagedTag[9] = '\x80';
    EXPECT_EQ(proposal(damagedTag + audioBytes() + id3v1Tag("V1 Title", "V1 Artist")), "V1 Artist - V1 Title");

    EXPECT_EQ(proposal(id3v2Tag(4, artistFrame(4) + test::frameWithSizeBytes("TIT2", "\0\0\0\x85"s, "\0Title"s),
                                10) +
                       audioBytes()),
              "Artist");
}

TEST_F(HandBuiltTag, TagsOfOtherVersionsAreIgnored)
{
    const std::string frames = artistFrame(3, "Never") + titleFrame(3, "Read");
    const std::string v1 = id3v1Tag("V1 Title", "V1 Artist");
    EXPECT_EQ(proposal(id3v2Tag(5, frames) + audioBytes() + v1), "V1 Artist - V1 Title");
    // In version 2.2 the extended-header flag means compression, which was never defined.
    const std::string frames22 = id3v2Frame(2, "TP1", textData(0, "Never"));
    EXPECT_EQ(proposal(id3v2Header(2, 0x40, static_cast<std::uint32_t>(frames22.size())) + frames22 +
                       audioBytes() + v1),
              "V1 Artist - V1 Title");
}

TEST_F(HandBuiltTag, CutShortTagsFail)
{
    const std::string tag = id3v2Tag(3, artistFrame(3) + titleFrame(3), 100);
    const std::size_t titleHeaderStart = 10 + artistFrame(3).size();
    // In the middle of a frame header, right after the id, and in the text.
    expectEndOfFile(tag.substr(0, titleHeaderStart + 2));
    expectEndOfFile(tag.substr(0, titleHeaderStart + 4));
    expectEndOfFile(tag.substr(0, titleHeaderStart + 12));
    // A frame that is not read still has to fit into the file.
    expectEndOfFile(id3v2Tag(4, artistFrame(4) + id3v2Frame(4, "APIC", std::string(900, 'p'))).substr(0, 600));
    // An extended header cut off.
    expectEndOfFile(id3v2Header(3, 0x40, 100) + "\0"s);
    // A tag whose padding is cut short is no cause for complaint.
    EXPECT_EQ(proposal(tag.substr(0, tag.size() - 50)), "Artist - Title");
}

TEST_F(HandBuiltTag, EmptyFramesAreSkipped)
{
    const std::string frames = id3v2Frame(3, "PRIV", "") + id3v2Frame(3, "TPE1", "\0"s) +
                               id3v2Frame(4, "TIT2", textData(3, "Title"));
    EXPECT_EQ(proposal(id3v2Tag(3, frames) + audioBytes()), "Title");
}

TEST_F(HandBuiltTag, OnlyTheFirstOfSeveralStringsIsTaken)
{
    const std::string frames = id3v2Frame(4, "TPE1", textData(1, "\xFF\xFE" "A\0n\0\0\0\xFF\xFE" "B\0"s)) +
                               id3v2Frame(4, "TIT2", textData(3, "First\0Second"s));
    EXPECT_EQ(proposal(id3v2Tag(4, frames) + audioBytes()), "An - First");
}

TEST_F(HandBuiltTag, ShortFilesAreNotSearchedForTags)
{
    // Ten bytes: too short for an ID3v2 tag, even one that claims frames.
    EXPECT_EQ(proposal(id3v2Header(3, 0, 50)), "Base");
    expectEndOfFile(id3v2Header(3, 0, 50) + "T"s);
    // 127 bytes cannot hold an ID3v1 tag; 128 can.
    EXPECT_EQ(proposal(id3v1Tag("Title", "Artist").substr(0, 127)), "Base");
    EXPECT_EQ(proposal(id3v1Tag("Title", "Artist")), "Artist - Title");
}

TEST_F(HandBuiltTag, Id3v1FieldsKeepTrailingSpacesAndStopAtZero)
{
    const std::string spacedTitle = "Title" + std::string(25, ' ');
    const std::string fullArtist(30, 'a');
    EXPECT_EQ(proposal(audioBytes() + id3v1Tag(spacedTitle, fullArtist)), fullArtist + " - " + spacedTitle);
    EXPECT_EQ(proposal(audioBytes() + id3v1Tag("Song\0old junk"s, "Caf\xE9")), "Café - Song");
}

TEST_F(HandBuiltTag, Id3v1FillsOnlyWhatId3v2Left)
{
    const std::string v1 = id3v1Tag("V1 Title", "V1 Artist");
    EXPECT_EQ(proposal(id3v2Tag(3, artistFrame(3)) + audioBytes() + v1), "Artist - V1 Title");
    EXPECT_EQ(proposal(id3v2Tag(3, artistFrame(3) + titleFrame(3)) + audioBytes() + v1), "Artist - Title");
}

} // namespace
} // namespace orvalin
