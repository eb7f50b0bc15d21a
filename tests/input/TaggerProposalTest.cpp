#include "Id3Bytes.h"
#include "InputCheckRun.h"
#include "TagWriters.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

namespace orvalin {
namespace {

using namespace std::string_literals;
using test::runInputCheck;

// The text proposed for an MP3 tagged by a real tool; empty when the check failed.
std::string proposalFor(const std::string& path)
{
    const auto run = runInputCheck(path);
    EXPECT_TRUE(run.passed) << path;
    EXPECT_TRUE(run.shown.empty()) << (run.shown.empty() ? "" : run.shown[0].text);
    return run.passed ? run.context.outputText : std::string();
}

class TaggedMp3 : public ::testing::Test {
protected:
    // A fresh untagged MP3 for each tagger, named by what it is for.
    std::string untagged(const std::string& name)
    {
        const std::string path = folder.file(name + ".mp3");
        EXPECT_TRUE(test::makeUntaggedMp3(path));
        return path;
    }

    test::TestFolder folder;
};

struct MutagenCase {
    int majorVersion;
    int encoding;
    const char* artist;
    const char* title;
};

class MutagenTags : public TaggedMp3, public ::testing::WithParamInterface<MutagenCase> {};

TEST_P(MutagenTags, ProposeArtistAndTitleInUtf8)
{
    const MutagenCase& tags = GetParam();
    const std::string path = untagged("mutagen");
    ASSERT_TRUE(test::tagWithMutagen(path, tags.majorVersion, tags.encoding, tags.artist, tags.title, false));
    EXPECT_EQ(proposalFor(path), std::string(tags.artist) + " - " + tags.title);
}

// Version 2.3 knows only encodings 0 and 1; mutagen stores the others as 1.
INSTANTIATE_TEST_SUITE_P(
    EveryVersionAndEncoding, MutagenTags,
    ::testing::Values(MutagenCase{3, 0, "Björk", "Jóga"}, MutagenCase{3, 1, "Сергей", "日本の歌"},
                      MutagenCase{3, 3, "Björk", "夜に駆ける"}, MutagenCase{4, 0, "Björk", "Hyperballad"},
                      MutagenCase{4, 1, "Сергей", "Звезда"}, MutagenCase{4, 2, "Björk", "日本の歌"},
                      MutagenCase{4, 3, "Сергей", "夜に駆ける"}, MutagenCase{4, 1, "Emoji", "Song 🎵"}));

TEST_F(TaggedMp3, ProposeWhicheverOfArtistAndTitleIsThere)
{
    const std::string titleOnly = untagged("title only");
    ASSERT_TRUE(test::tagWithMutagen(titleOnly, 4, 3, "", "Only A Title", false));
    EXPECT_EQ(proposalFor(titleOnly), "Only A Title");

    const std::string artistOnly = untagged("artist only");
    ASSERT_TRUE(test::tagWithMutagen(artistOnly, 3, 1, "Сергей", "", false));
    EXPECT_EQ(proposalFor(artistOnly), "Сергей");
}

TEST_F(TaggedMp3, PreferTheLongerID3v2TextsOverTheirID3v1Copies)
{
    const std::string longTitle(40, 'x');
    const std::string path = untagged("both");
    ASSERT_TRUE(test::tagWithMutagen(path, 4, 3, "Björk", longTitle, true));
    EXPECT_EQ(proposalFor(path), "Björk - " + longTitle);
}

TEST_F(TaggedMp3, ReadSizesOfVersion23FramesAsPlainNumbers)
{
    // 300 bytes of text: as a syncsafe number the size would read wrongly.
    const std::string longArtist(299, 'a');
    for (const int version : {3, 4}) {
        const std::string path = untagged("long " + std::to_string(version));
        ASSERT_TRUE(test::tagWithMutagen(path, version, 0, longArtist, "Title", false));
        EXPECT_EQ(proposalFor(path), longArtist + " - Title") << "ID3v2." << version;
    }
}

TEST_F(TaggedMp3, TakeTheTitleFromID3v2AndTheMissingArtistFromID3v1)
{
    const std::string path = untagged("mixed");
    ASSERT_TRUE(test::tagWithMutagen(path, 4, 3, "", "New Title", false));
    ASSERT_TRUE(test::tagWithId3v2Tool(path, "Artist V1", "Old Title", true));
    EXPECT_EQ(proposalFor(path), "Artist V1 - New Title");
}

TEST_F(TaggedMp3, ReadID3v1AloneInUtf8)
{
    const std::string path = untagged("v1");
    ASSERT_TRUE(test::tagWithId3v2Tool(path, "Björk", "Jóga", true));
    EXPECT_EQ(proposalFor(path), "Björk - Jóga");
}

TEST_F(TaggedMp3, ReadTheId3v2Tool)
{
    const std::string path = untagged("id3v2");
    ASSERT_TRUE(test::tagWithId3v2Tool(path, "Björk", "Сергей 日本", false));
    EXPECT_EQ(proposalFor(path), "Björk - Сергей 日本");
}

TEST_F(TaggedMp3, ReadEyeD3InEveryEncoding)
{
    for (const char* options : {"", "--to-v2.3", "--encoding latin1", "--encoding utf16",
                                "--encoding utf16-be", "--to-v2.3 --encoding latin1"}) {
        const bool latin1 = std::string(options).find("latin1") != std::string::npos;
        const std::string title = latin1 ? "Jóga" : "日本の歌";
        const std::string path = untagged(std::string("eyeD3 ") + options);
        ASSERT_TRUE(test::tagWithEyeD3(path, options, "Björk", title)) << options;
        EXPECT_EQ(proposalFor(path), "Björk - " + title) << options;
    }
}

TEST_F(TaggedMp3, ReadLameTags)
{
    const std::string latin = folder.file("lame latin.mp3");
    ASSERT_TRUE(test::encodeWithLameTags(latin, "Abba", "Waterloo"));
    EXPECT_EQ(proposalFor(latin), "Abba - Waterloo");

    // ID3v1 holds "?" for the characters it cannot; ID3v2 must win.
    const std::string unicode = folder.file("lame unicode.mp3");
    ASSERT_TRUE(test::encodeWithLameTags(unicode, "Сергей", "日本語"));
    EXPECT_EQ(proposalFor(unicode), "Сергей - 日本語");
}

TEST_F(TaggedMp3, ReadFfmpegMetadata)
{
    const std::string source = untagged("source");
    for (const int version : {3, 4}) {
        const std::string path = folder.file("ffmpeg " + std::to_string(version) + ".mp3");
        ASSERT_TRUE(test::copyWithFfmpegMetadata(source, path, version, "Björk", "日本語"));
        EXPECT_EQ(proposalFor(path), "Björk - 日本語") << "ID3v2." << version;
    }
}

TEST_F(TaggedMp3, ReadVersion22Frames)
{
    // No common tagger writes version 2.2 any more; mutagen confirms the bytes.
    const std::string path = folder.file("v22.mp3");
    test::writeText(path, test::id3v2Tag(2,
                                         test::id3v2Frame(2, "TT2", test::textData(1, "\xFF\xFEJ\0\xF3\0g\0a\0"s)) +
                                             test::id3v2Frame(2, "TP1", test::textData(0, "Bj\xF6rk")),
                                         64) +
                              test::audioBytes());
    ASSERT_EQ(test::readWithMutagen(path), "Björk|Jóga");
    EXPECT_EQ(proposalFor(path), "Björk - Jóga");
}

} // namespace
} // namespace orvalin
