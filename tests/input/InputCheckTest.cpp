// The input check: the rules for the input's name and the text it proposes
// from the ID3 tags of an MP3, read from tags built byte by byte, and the
// tags' text encodings.

#include "FakePlatform.h"
#include "Id3Bytes.h"
#include "TestFolder.h"
#include "audio/Id3Text.h"
#include "audio/InputCheck.h"
#include "common/ConversionInput.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>

namespace orvalin {
namespace {

using namespace std::string_literals;
using namespace test;

TEST(Id3Text, EveryEncodingBecomesUtf8)
{
    EXPECT_EQ(latin1ToUtf8("Bj\xF6rk \xA9\xFF"), "Björk ©ÿ");
    const struct {
        std::uint8_t encoding;
        std::string bytes;
        const char* text;
    } cases[] = {
        {0, "Caf\xE9", "Café"},
        {7, "Caf\xE9", "Café"}, // an encoding byte no version defines: ISO-8859-1
        // UTF-16 after its byte-order mark, little-endian without; a needless mark goes.
        {1, "\xFF\xFE\x21\x04\x35\x04"s, "Се"},
        {1, "\xFE\xFF\x04\x21\x04\x35"s, "Се"},
        {1, "\xE5\x65\x2C\x67"s, "日本"},
        {2, "\x65\xE5\x67\x2C"s, "日本"},
        {2, "\xFE\xFF\x65\xE5"s, "日"},
        // Surrogates pair up or are replaced; an odd last byte is half a character.
        {2, "\xD8\x3C\xDF\xB5"s, "🎵"},
        {2, "\xD8\x3C\0A"s, "\uFFFDA"},
        {2, "\xDF\xB5\0A"s, "\uFFFDA"},
        {2, "\0A\xD8\x3C"s, "A\uFFFD"},
        {2, "\0A\0"s, "A"},
        // UTF-8 is kept; Latin-1 in disguise, overlong forms and surrogates are none.
        {3, "夜に駆ける 🎵", "夜に駆ける 🎵"},
        {3, "\xEF\xBB\xBFMark", "Mark"},
        {3, "Bj\xF6rk", "Björk"},
        {3, "\xC0\xAF", "À¯"},
        {3, "\xED\xA0\x80", "í\u00A0\u0080"},
        // The text ends at its terminator; a zero byte inside a UTF-16 character is none.
        {0, "One\0Two"s, "One"},
        {3, "One\0Two"s, "One"},
        {1, "\xFF\xFEO\0\0\0\xFF\xFET\0"s, "O"},
        {2, "\0O\0n\0e"s, "One"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(id3v2TextToUtf8(c.encoding, c.bytes), c.text) << "encoding " << int{c.encoding} << ", " << c.text;
}

struct CheckRun {
    ConversionInput input;
    test::RecordingMessages messages;
    bool passed = false;
};

// The check starts from what an earlier run left, which it must replace.
CheckRun check(const std::string& path)
{
    CheckRun run{.input = {.inputPath = path, .inputIsWav = true, .outputText = "from an earlier run"}};
    run.passed = checkInput(run.input, run.messages);
    return run;
}

// Passed with the proposal when the message is empty; else refused with that
// one warning, owned by the main window.
void expectOutcome(const CheckRun& run, const std::string& message, const std::string& proposal)
{
    const auto& shown = run.messages.shown;
    EXPECT_EQ(run.passed, message.empty());
    EXPECT_EQ(run.input.outputText, proposal);
    if (message.empty()) {
        EXPECT_TRUE(shown.empty()) << shown[0].text;
        return;
    }
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, message);
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(shown[0].buttons, MessageButtons::Ok);
}

std::string artist(int version, std::string_view text = "Artist", std::uint8_t encoding = 0)
{
    return id3v2Frame(version, version == 2 ? "TP1" : "TPE1", textData(encoding, text));
}

std::string title(int version, std::string_view text = "Title", std::uint8_t encoding = 0)
{
    return id3v2Frame(version, version == 2 ? "TT2" : "TIT2", textData(encoding, text));
}

struct NameCase {
    const char* name;
    enum { Nothing, Folder, Fifo, Empty, Mp3, Wav } made;
    const char* message; // "%" stands for the path; empty when the check passes
    const char* proposal;
};

TEST(InputCheck, NameRules)
{
    const char* wildStar = "Error: Wild card \"*\" not allowed in file name \"%\".";
    const char* extension = "Error: Input file name \"%\" must end in \".mp3\" or \".wav\".";
    const char* notFound = "Error: Input file not found \"%\".";
    const char* notAFile = "Error: Input file is not a regular file \"%\".";
    const NameCase cases[] = {
        {"so*ng.txt", NameCase::Nothing, wildStar, "so*ng"},
        {"so?ng.mp3", NameCase::Nothing, "Error: Wild card \"?\" not allowed in file name \"%\".", "so?ng"},
        {"song.mp3.txt", NameCase::Mp3, extension, "song.mp3"},
        {"song", NameCase::Mp3, extension, "song"},
        {"song.mp3 ", NameCase::Mp3, extension, "song"},
        {"album.mp3/track", NameCase::Mp3, extension, "track"},
        {"album.mp3/01. Intro.v2.MP3", NameCase::Mp3, "", "01. Intro.v2"},
        {"Sigur Rós – Hoppípolla.MP3", NameCase::Mp3, "", "Sigur Rós – Hoppípolla"},
        {"b.Mp3", NameCase::Mp3, "", "b"},
        {"d.wav", NameCase::Wav, "", "d"},
        {"Missing Song.mp3", NameCase::Nothing, notFound, "Missing Song"},
        {"looks like a file.wav", NameCase::Folder, notAFile, "looks like a file"},
        {"a pipe.mp3", NameCase::Fifo, notAFile, "a pipe"},
        {"empty.mp3", NameCase::Empty, "Error: Input file contains no data \"%\".", "empty"},
    };
    test::TestFolder folder;
    std::filesystem::create_directory(folder.file("album.mp3"));
    // Tag bytes, one of them cut short, must not matter for a WAV.
    const std::string wavWithTags = id3v2Header(3, 5000) + title(3) + std::string(200, '\0') + id3v1Tag("T", "A");
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.file(c.name);
        if (c.made == NameCase::Folder)
            std::filesystem::create_directory(path);
        else if (c.made == NameCase::Fifo)
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        else if (c.made != NameCase::Nothing)
            test::writeText(path, c.made == NameCase::Empty ? "" : c.made == NameCase::Wav ? wavWithTags : audioBytes());
        const CheckRun run = check(path);
        std::string message = c.message;
        expectOutcome(run, message.empty() ? "" : message.replace(message.find('%'), 1, path), c.proposal);
        if (run.passed) {
            EXPECT_EQ(run.input.inputIsWav, c.made == NameCase::Wav);
        }
    }
}

std::string extendedHeaderTag(int version)
{
    // Version 2.3 counts the extended header without its size field, 2.4 with it.
    const std::string extended = version == 3 ? "\0\0\0\x06"s + "\0\0\0\0\0\0"s : syncsafeBytes(6) + "\x01\0"s;
    const std::string body = extended + artist(version) + title(version);
    return id3v2Header(version, body.size() + 20, 0x40) + body + std::string(20, '\0') + audioBytes();
}

std::string commentThenTitle(std::size_t commentLength)
{
    return id3v2Tag(3, artist(3) + id3v2Frame(3, "COMM", std::string(1 + commentLength, 'c')) + title(3)) + audioBytes();
}

TEST(InputCheck, ProposalFromTheTags)
{
    const std::string v1Tag = id3v1Tag("V1 Title", "V1 Artist");
    const std::string both3 = artist(3) + title(3), both4 = artist(4) + title(4);
    const std::string cut = id3v2Tag(3, both3, 100);
    const std::size_t titleStart = 10 + artist(3).size();
    std::string damagedTagSize = id3v2Tag(4, both4);
    damagedTagSize[9] = '\x80'; // a syncsafe byte never has its top bit set
    const std::string long299(299, 'a');

    // The proposal; none when the end of the file came too soon.
    const std::tuple<const char*, std::string, std::optional<std::string>> cases[] = {
        {"no tag", audioBytes(), "Base"},
        {"2.2 frames", id3v2Tag(2, title(2, "\xFF\xFEJ\0\xF3\0g\0a\0"s, 1) + artist(2, "Bj\xF6rk"), 64) + audioBytes(), "Björk - Jóga"},
        {"2.3 UTF-16", id3v2Tag(3, artist(3, "\xFF\xFE\x21\x04\x35\x04"s, 1) + title(3, "J\xF3ga")) + audioBytes(), "Се - Jóga"},
        {"2.4 UTF-16BE, UTF-8", id3v2Tag(4, artist(4, "\x65\xE5\x67\x2C", 2) + title(4, "夜に駆ける", 3)) + audioBytes(), "日本 - 夜に駆ける"},
        {"2.3 sizes are plain numbers", id3v2Tag(3, artist(3, long299) + title(3)) + audioBytes(), long299 + " - Title"},
        {"2.4 sizes are syncsafe", id3v2Tag(4, artist(4, long299) + title(4)) + audioBytes(), long299 + " - Title"},
        {"a title alone", id3v2Tag(4, title(4, "Only A Title", 3)) + audioBytes(), "Only A Title"},
        {"a one-letter artist alone", id3v2Tag(3, artist(3, "X")) + audioBytes(), "X"},
        {"empty frames", id3v2Tag(3, id3v2Frame(3, "PRIV", "") + id3v2Frame(3, "TPE1", "\0"s) + title(4, "Title", 3)) + audioBytes(), "Title"},
        {"the first of several strings",
         id3v2Tag(4, artist(4, "\xFF\xFE" "A\0n\0\0\0\xFF\xFE" "B\0"s, 1) + title(4, "First\0Second"s, 3)) + audioBytes(), "An - First"},
        {"frames behind padding", id3v2Tag(3, artist(3) + std::string(10, '\0') + title(3)) + audioBytes(), "Artist"},
        {"frames behind the tag end", id3v2Header(3, artist(3).size()) + both3 + audioBytes(), "Artist"},
        {"a frame starting before the tag end", id3v2Header(3, artist(3).size() + 1) + both3 + audioBytes(), "Artist - Title"},
        {"a frame up to the file end", id3v2Tag(4, both4), "Artist - Title"},
        {"padding up to the file end", id3v2Tag(4, both4, 4), "Artist - Title"},
        {"2.3 extended header", extendedHeaderTag(3), "Artist - Title"},
        {"2.4 extended header", extendedHeaderTag(4), "Artist - Title"},
        {"a text at the length limit", commentThenTitle(32768), "Artist - Title"},
        {"a picture before the title is passed over", commentThenTitle(200000), "Artist - Title"},
        {"so is a text past the length limit", id3v2Tag(4, title(4, std::string(32769, 't')) + artist(4)) + audioBytes(), "Artist"},
        {"a frame of gigabytes", id3v2Tag(3, artist(3) + id3v2Frame(3, "TXXX", "x", "\xFF\xFF\xFF\xFF") + title(3)) + audioBytes(), "Artist"},
        {"a syncsafe frame of gigabytes", id3v2Tag(4, artist(4) + id3v2Frame(4, "TIT2", "x", "\x7F\x7F\x7F\x7F")) + audioBytes(), "Artist"},
        {"a tag of 256 megabytes", id3v2Header(3, 0x0FFFFFFF) + both3 + audioBytes(), "Artist - Title"},
        {"a damaged tag size", damagedTagSize + audioBytes() + v1Tag, "V1 Artist - V1 Title"},
        {"a damaged frame size", id3v2Tag(4, artist(4) + id3v2Frame(4, "TIT2", "\0Title"s, "\0\0\0\x85"s), 10) + audioBytes(), "Artist"},
        {"version 2.5", id3v2Tag(5, both3) + audioBytes() + v1Tag, "V1 Artist - V1 Title"},
        {"2.2 compressed", id3v2Header(2, artist(2).size(), 0x40) + artist(2) + audioBytes() + v1Tag, "V1 Artist - V1 Title"},
        {"cut in a frame header", cut.substr(0, titleStart + 2), std::nullopt},
        {"cut after a frame id", cut.substr(0, titleStart + 4), std::nullopt},
        {"cut in a text", cut.substr(0, titleStart + 12), std::nullopt},
        {"an unread frame cut", id3v2Tag(4, artist(4) + id3v2Frame(4, "APIC", std::string(900, 'p'))).substr(0, 600), std::nullopt},
        {"cut in the extended header", id3v2Header(3, 100, 0x40) + "\0"s, std::nullopt},
        {"cut in the padding", cut.substr(0, cut.size() - 50), "Artist - Title"},
        {"a lone ID3v2 header", id3v2Header(3, 50), "Base"},
        {"an ID3v2 header and a byte", id3v2Header(3, 50) + "T", std::nullopt},
        {"127 bytes of ID3v1", id3v1Tag("Title", "Artist").substr(0, 127), "Base"},
        {"ID3v1 alone", id3v1Tag("Title", "Artist"), "Artist - Title"},
        {"ID3v1 spaces", audioBytes() + id3v1Tag("Title" + std::string(25, ' '), std::string(30, 'a')),
         std::string(30, 'a') + " - Title" + std::string(25, ' ')},
        {"ID3v1 zeros and Latin-1", audioBytes() + id3v1Tag("Song\0old junk"s, "Caf\xE9"), "Café - Song"},
        {"ID3v1 fills the title", id3v2Tag(3, artist(3)) + audioBytes() + v1Tag, "Artist - V1 Title"},
        {"ID3v1 fills the artist", id3v2Tag(4, title(4)) + audioBytes() + v1Tag, "V1 Artist - Title"},
        {"ID3v2 wins over ID3v1", id3v2Tag(3, both3) + audioBytes() + v1Tag, "Artist - Title"},
    };
    test::TestFolder folder;
    const std::string path = folder.file("Base.mp3");
    for (const auto& [what, bytes, proposal] : cases) {
        SCOPED_TRACE(what);
        test::writeText(path, bytes);
        const CheckRun run = check(path);
        const char* endOfFile = "Error: End of input file reached before end of expected data.";
        expectOutcome(run, proposal ? "" : endOfFile, proposal.value_or("Base"));
        EXPECT_FALSE(run.input.inputIsWav);
    }
}

} // namespace
} // namespace orvalin
