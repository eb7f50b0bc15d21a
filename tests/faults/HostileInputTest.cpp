// Inputs made to hurt: bytes that look like frame starts everywhere, tags and
// chunks whose sizes lie, files cut anywhere, and hours of sound. Each run must end,
// with a plain message or a correct output.

#include "RealConversion.h"

#include <random>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using test::RealConversion;
using Messages = std::vector<std::string>;

Bytes withUi32(Bytes bytes, std::size_t offset, std::uint32_t value)
{
    for (std::size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

class HostileInputTest : public ::testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes)
    {
        test::writeBytes(inputs.file(name), bytes);
        return inputs.file(name);
    }

    test::TestFolder inputs;
};

TEST_F(HostileInputTest, LyingOrJunkInputsEndInAPlainMessageOrAnAnimation)
{
    ASSERT_TRUE(test::writeToneFiles(inputs, "tone"));
    const Bytes mp3 = test::readBytes(inputs.file("tone.mp3"));
    Bytes spoiled; // runs of ones between the frames
    for (std::size_t at = 0; at < mp3.size(); at += 4000) {
        spoiled.insert(spoiled.end(), mp3.begin() + at, mp3.begin() + std::min(at + 4000, mp3.size()));
        spoiled.insert(spoiled.end(), 3000, 0xFF);
    }
    // The tag is taken at its word: it covers the whole file, so no frame is
    // left, and the run fails as for any MP3 without sound.
    Bytes tagged = {'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F};
    tagged.insert(tagged.end(), mp3.begin(), mp3.end());
    // RIFF header at 0, JUNK at 12, "fmt " at 28, "data" at 52.
    const Bytes wav = test::makeWav({.seconds = 2.5, .chunksBefore = {{"JUNK", Bytes(8, 0)}}});
    ASSERT_EQ(std::string(wav.begin() + 52, wav.begin() + 56), "data");

    const std::string noSound = "Error: No sound to encode.";
    const std::string unsupported = "Error: Format not supported.";
    // The input, and the sound blocks of its animation or the message of its failure.
    const std::tuple<std::string, Bytes, std::size_t, std::string> cases[] = {
        // Every byte starts a frame candidate and the decoder rejects them all;
        // a WAV whose data is empty has no sound either.
        {"ones.mp3", Bytes(512 * 1024, 0xFF), 0, noSound},
        {"one-header.mp3", {0xFF, 0xFB, 0x90, 0x64, 0, 0, 0, 0, 0, 0}, 0, noSound},
        {"empty-data.wav", test::makeWav({.seconds = 0}), 0, noSound},
        {"spoiled.mp3", spoiled, 3, ""},
        {"tagged.mp3", tagged, 0, noSound},
        {"tagged-ff.mp3", withUi32(tagged, 6, 0xFFFFFFFF), 0, noSound},
        {"past-the-end.wav", withUi32(wav, 16, 0xFFFFFF00), 0, unsupported},
        {"back-to-the-header.wav", withUi32(wav, 16, 0xFFFFFFEC), 0, unsupported},
        {"back-onto-itself.wav", withUi32(wav, 16, 0xFFFFFFF7), 0, unsupported},
        {"format-past-the-end.wav", withUi32(wav, 32, 0xFFFFFFFF), 0, unsupported},
        {"data-past-the-end.wav", withUi32(wav, 56, 0xFFFFFFFE), 3, ""},
        {"riff-past-the-end.wav", withUi32(wav, 4, 0xFFFFFFFF), 3, ""},
        {"riff-of-nothing.wav", withUi32(wav, 4, 0), 3, ""},
    };
    for (const auto& [name, bytes, blocks, message] : cases) {
        SCOPED_TRACE(name);
        RealConversion run;
        run.run(write(name, bytes));
        run.expectCleanAftermath();
        EXPECT_EQ(run.outcome(), message.empty() ? JobOutcome::Succeeded : JobOutcome::Failed);
        EXPECT_EQ(run.messageTexts(), message.empty() ? Messages{} : Messages{message});
        if (message.empty()) {
            EXPECT_EQ(run.animation().tagsWithCode(swf::TagCode::SoundStreamBlock).size(), blocks);
        }
    }
}

// How long a file sounds, as an independent decoder hears it.
double decodedSeconds(const std::string& path)
{
    const std::string command = "ffmpeg -v error -i " + test::shellQuote(path) + " -ac 1 -ar 8000 -f s16le -";
    return static_cast<double>(test::captureCommand(command).size()) / (2 * 8000);
}

// Files as rips, downloads and taggers leave them: each comes out as long as
// it sounds, within one frame, or fails with a plain message, however its
// frames are hidden among bytes that look like frame starts.
TEST_F(HostileInputTest, ImperfectMp3sComeOutAtTheirTrueLength)
{
    const auto lame = [&](const std::string& name, const test::TestTone& tone, const std::string& options) {
        test::writeWav(inputs.file(name + ".wav"), tone);
        EXPECT_EQ(test::runCommand("lame --quiet " + options + " " + inputs.file(name + ".wav") + " " + inputs.file(name)), 0);
        return test::readBytes(inputs.file(name));
    };
    const Bytes mono = lame("mono", {.sampleRate = 22050, .channels = 1, .seconds = 4}, "-b 32");
    const Bytes stereo = lame("stereo", {.seconds = 1.5}, "-b 128");
    std::mt19937 random(12);
    // Tags, the second holding a "picture" thick with frame starts.
    Bytes tags = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 10, 'T', 'I', 'T', '2', 0, 0, 0, 0, 0, 0,
                  'I', 'D', '3', 3, 0, 0, 0, 3, 0x54, 0x60};
    for (int i = 0; i < 60000; ++i)
        tags.push_back(random() % 3 == 0 ? 0xFF : static_cast<std::uint8_t>(random()));
    Bytes reservedVersion = {0xFF, 0xEB, 0x90, 0x64};
    reservedVersion.resize(200, 0x55);

    std::vector<std::pair<std::string, Bytes>> cases = {
        {"two-tags.mp3", tags}, {"reserved-version.mp3", reservedVersion}, {"two-formats.mp3", stereo}};
    for (auto& [name, bytes] : cases)
        bytes.insert(bytes.end(), mono.begin(), mono.end());
    std::uniform_int_distribution<std::size_t> offset(1, mono.size() - 1);
    for (int cut = 0; cut < 20; ++cut) {
        const std::size_t at = offset(random);
        cases.emplace_back("cut-at-" + std::to_string(at) + ".mp3", Bytes(mono.begin() + at, mono.end()));
    }
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        RealConversion run;
        run.run(write(name, bytes));
        run.expectCleanAftermath();
        if (run.outcome() == JobOutcome::Succeeded)
            EXPECT_NEAR(decodedSeconds(run.output("orvaln1s.swf")), decodedSeconds(inputs.file(name)), 1152.0 / 22050);
        else
            EXPECT_EQ(run.messageTexts(), Messages{"Error: No sound to encode."});
    }
}

// Four and a half hours of CD sound, 2.9 GB that take no disk space, through a
// stand-in encoder so that the test does not wait for LAME: the animation
// stops at its 16000 one-second blocks.
TEST_F(HostileInputTest, HoursOfSoundStopAtTheFrameLimit)
{
    constexpr std::uint32_t kDataSize = 16200u * 44100 * 4;
    const Bytes header = test::makeWav({.seconds = 0});
    ASSERT_EQ(header.size(), 44u);
    const std::string path = write("hours.wav", withUi32(withUi32(header, 4, 36 + kDataSize), 40, kDataSize));
    fs::resize_file(path, header.size() + kDataSize);

    test::TestFolder program;
    test::linkProgramFolder(program);
    fs::remove(program.file("lame_enc.so"));
    fs::copy_file(QUICK_ENCODER_MODULE, program.file("lame_enc.so"));
    RealConversion run(program.path());
    run.run(path);
    run.expectCleanAftermath();
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
    const auto swf = run.animation();
    EXPECT_EQ(swf.frameCount, 16001);
    EXPECT_EQ(swf.tagsWithCode(swf::TagCode::SoundStreamBlock).size(), 16000u);
}

} // namespace
} // namespace orvalin
