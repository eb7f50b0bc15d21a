// Writes a small seed corpus for each fuzz target, from the tests' own
// generators, and makes an empty working corpus folder beside it.
//   orvalin-fuzz-seeds SEEDS_FOLDER CORPUS_FOLDER TARGET...
#include "Id3Bytes.h"
#include "TestAudio.h"
#include "TestFolder.h"

#include "audio/EncoderInterface.h"
#include "audio/Mp3EncodeStage.h"
#include "settings/ParametersFile.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <vector>

using namespace orvalin;
using Bytes = std::vector<std::uint8_t>;
using Seeds = std::map<std::string, Bytes>;

namespace {

Bytes bytesOf(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

Bytes join(Bytes first, const Bytes& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

test::TestTone shortWav(int rate, int channels, int bits)
{
    test::TestTone tone;
    tone.sampleRate = rate;
    tone.channels = channels;
    tone.bitsPerSample = bits;
    tone.seconds = 0.05;
    return tone;
}

class IdlePump final : public MessagePump {
public:
    void pumpMessages() override {}
};

// A real MP3, made by the encoder module the way a run makes one.
Bytes encodedMp3(const test::TestTone& tone, unsigned bitrate, unsigned rate)
{
    test::TestFolder folder;
    test::writeWav(folder.file("in.wav"), tone);
    JobStatus status;
    IdlePump pump;
    const StageResult result = Mp3EncodeStage(status, pump, ORVALIN_PROGRAM_FOLDER)
                                   .run(folder.file("in.wav"), folder.file("out.mp3"), bitrate, rate, Mp3ChannelMode::Mono);
    if (!result.succeeded()) {
        std::cerr << "cannot encode a seed: " << result.errorText << "\n";
        std::exit(1);
    }
    return test::readBytes(folder.file("out.mp3"));
}

// count Layer III frames with the given header bytes after the FF, each
// length bytes long, with bodies free of FF.
Bytes repeatedFrames(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, int length, int count)
{
    Bytes bytes;
    for (int frame = 0; frame < count; ++frame) {
        bytes.insert(bytes.end(), {0xFF, b1, b2, b3});
        bytes.resize(bytes.size() + static_cast<std::size_t>(length - 4), 0x11);
    }
    return bytes;
}

Seeds mp3Seeds()
{
    const Bytes tone = encodedMp3(shortWav(22050, 1, 16), 32, 22050);
    const Bytes tag = bytesOf(test::id3v2Tag(3, test::id3v2Frame(3, "TIT2", test::textData(0, "Tone"))));
    return {
        {"tone.mp3", tone},
        {"tone-8k.mp3", encodedMp3(shortWav(8000, 1, 8), 8, 8000)},
        {"tagged.mp3", join(tag, tone)},
        {"stereo-frames.mp3", repeatedFrames(0xFB, 0x90, 0x44, 417, 3)},
        {"mpeg25-frames.mp3", repeatedFrames(0xE3, 0x10, 0xC4, 52, 4)},
    };
}

Seeds wavSeeds()
{
    test::TestTone withChunks = shortWav(11025, 2, 16);
    withChunks.chunksBefore = {{"LIST", {1, 2, 3}}};
    withChunks.chunksAfter = {{"junk", {0, 0}}};
    return {
        {"mono8.wav", test::makeWav(shortWav(8000, 1, 8))},
        {"stereo16.wav", test::makeWav(shortWav(8000, 2, 16))},
        {"chunks.wav", test::makeWav(withChunks)},
    };
}

Seeds tagSeeds()
{
    const std::string audio = test::audioBytes();
    const auto frames = [](int version) {
        const std::string artist = version == 2 ? "TP1" : "TPE1";
        const std::string title = version == 2 ? "TT2" : "TIT2";
        return test::id3v2Frame(version, artist, test::textData(1, std::string("\xFF\xFE" "A\0r\0t\0", 8))) +
               test::id3v2Frame(version, title, test::textData(3, "Titl\xC3\xA9"));
    };
    return {
        {"v22.mp3", bytesOf(test::id3v2Tag(2, frames(2), 16) + audio)},
        {"v23.mp3", bytesOf(test::id3v2Tag(3, frames(3), 16) + audio)},
        {"v24.mp3", bytesOf(test::id3v2Tag(4, frames(4)) + audio)},
        {"v1.mp3", bytesOf(audio + test::id3v1Tag("Title", "Artist"))},
    };
}

Seeds parameterSeeds()
{
    ConversionSettings settings;
    settings.outputToDesktop = true;
    settings.outputMode = OutputMode::Controller;
    settings.controllerName = "standard01200040";
    settings.instructionLetter = "c";
    settings.showTipsAtStartup = true;
    settings.backgroundColour = "FFFFFF";
    settings.textColour = "000000";
    settings.nextOutputNumber = 1;
    settings.bitrate = 128;
    settings.sampleRate = 44100;
    settings.channels = 2;
    return {{"shipped.da0", bytesOf(formatParameters(settings))},
            {"unix.da0", bytesOf("n\n/tmp/out\n2\nwide04300040\nd\n07\nn\n102030\nABCDEF\n-5\n 64\n+8000\n1\n")}};
}

Bytes utf16(std::u16string_view text)
{
    Bytes bytes;
    for (const char16_t unit : text)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit), static_cast<std::uint8_t>(unit >> 8)});
    return bytes;
}

std::map<std::string, Seeds> allSeeds()
{
    const Seeds mp3 = mp3Seeds();
    const Seeds wav = wavSeeds();
    return {
        {"DecodeScanFuzz", mp3},
        {"SwfInputWalkFuzz", mp3},
        {"EncodeStageFuzz", wav},
        {"WavChunkWalkFuzz", wav},
        {"Id3TagsFuzz", tagSeeds()},
        {"ParametersFuzz", parameterSeeds()},
        {"ControllerSizeFuzz",
         {{"standard", bytesOf("standard01200040")}, {"round", bytesOf("round03150050")}, {"short", bytesOf("x1")}}},
        {"HtmlColourFuzz", {{"orange", utf16(u"FF8000")}, {"lower", utf16(u"a0b1c2")}, {"odd", utf16(u"#12 z")}}},
        {"Windows1252Fuzz",
         {{"ascii", bytesOf("Artist - Title & <more>")},
          {"accents", bytesOf("Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D")},
          {"beyond", bytesOf("\xE6\x97\xA5\xF0\x9F\x8E\xB5 \xC3")}}},
        {"TipFileFuzz",
         {{"first", bytesOf("\x03" "one\r\ntwo\r\nthree\r\n")}, {"last", bytesOf("\x02" "a\nb")}, {"wrap", bytesOf("\x09" "x\n")}}},
    };
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: orvalin-fuzz-seeds SEEDS_FOLDER CORPUS_FOLDER TARGET...\n";
        return 2;
    }
    const std::filesystem::path seedsFolder = argv[1];
    const std::filesystem::path corpusFolder = argv[2];
    const auto seeds = allSeeds();
    for (int i = 3; i < argc; ++i) {
        const std::string target = argv[i];
        const auto found = seeds.find(target);
        if (found == seeds.end()) {
            std::cerr << "no seeds for " << target << "\n";
            return 1;
        }
        std::filesystem::create_directories(seedsFolder / target);
        std::filesystem::create_directories(corpusFolder / target);
        for (const auto& [name, bytes] : found->second)
            test::writeBytes((seedsFolder / target / name).string(), bytes);
    }
    return 0;
}
