#include "ConverterProcess.h"

#include "TestAudio.h"
#include "TestFolder.h"
#include "settings/ParametersFile.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::shellQuote;

struct StreamFormat {
    int sampleRate = 0;
    int channels = 0;
};

StreamFormat probeSwf(const std::string& path)
{
    const std::string probe = test::captureCommand(
        "ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels "
        "-of csv=p=0 " + shellQuote(path));
    // codec,rate,channels
    StreamFormat format;
    if (probe.rfind("mp3,", 0) == 0)
        std::sscanf(probe.c_str() + 4, "%d,%d", &format.sampleRate, &format.channels);
    return format;
}

// The sound of a file as 8 kHz mono samples, decoded by FFmpeg.
std::vector<std::int16_t> decodedSamples(const std::string& path)
{
    const std::string raw = test::captureCommand("ffmpeg -v error -i " + shellQuote(path) +
                                                 " -ac 1 -ar 8000 -f s16le -");
    std::vector<std::int16_t> samples(raw.size() / 2);
    std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}

// Loudness per 20 ms.
std::vector<double> loudnessEnvelope(const std::vector<std::int16_t>& samples)
{
    constexpr std::size_t kWindow = 160;
    std::vector<double> envelope;
    for (std::size_t start = 0; start + kWindow <= samples.size(); start += kWindow) {
        double sum = 0;
        for (std::size_t i = start; i < start + kWindow; ++i)
            sum += double(samples[i]) * samples[i];
        envelope.push_back(std::sqrt(sum / kWindow));
    }
    return envelope;
}

// The best correlation of two envelopes over small shifts (coder delays).
double envelopeMatch(const std::vector<double>& a, const std::vector<double>& b)
{
    double best = -1;
    for (int lag = -8; lag <= 8; ++lag) {
        std::vector<double> x, y;
        for (std::size_t i = 0; i < a.size(); ++i) {
            const long j = static_cast<long>(i) + lag;
            if (j >= 0 && j < static_cast<long>(b.size())) {
                x.push_back(a[i]);
                y.push_back(b[static_cast<std::size_t>(j)]);
            }
        }
        const auto mean = [](const std::vector<double>& v) {
            double sum = 0;
            for (double value : v)
                sum += value;
            return sum / static_cast<double>(v.size());
        };
        const double mx = mean(x), my = mean(y);
        double sxy = 0, sxx = 0, syy = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            sxy += (x[i] - mx) * (y[i] - my);
            sxx += (x[i] - mx) * (x[i] - mx);
            syy += (y[i] - my) * (y[i] - my);
        }
        best = std::max(best, sxy / std::sqrt(sxx * syy));
    }
    return best;
}

const std::vector<double> kSteps = {0.6, 0.05, 0.3, 0.7, 0.1, 0.45, 0.02, 0.5};

class ConvertCommandTest : public ::testing::Test {
protected:
    ConvertCommandTest()
    {
        fs::copy_file(ORVALIN_SHIPPED_PARAMETERS, settingsPath);
        fs::create_directory(outDir);
    }

    ProcessResult convert(std::vector<std::string> arguments, int interruptAfterMs = -1,
                          const std::string& programFolder = ORVALIN_PROGRAM_DIR)
    {
        arguments.insert(arguments.begin(), {"--settings", settingsPath, "-o", outDir});
        return test::runConverter(programFolder, arguments, interruptAfterMs);
    }

    ConversionSettings savedSettings() const { return parseParameters(test::readText(settingsPath)); }

    std::string out(const std::string& name) const { return outDir + name; }

    std::string makeMp3(const std::string& name, const std::string& lameOptions, const test::TestTone& tone)
    {
        const std::string wav = work.file(name + ".wav");
        test::writeWav(wav, tone);
        const std::string mp3 = work.file(name);
        EXPECT_EQ(test::runCommand("lame --quiet " + lameOptions + " " + shellQuote(wav) + " " + shellQuote(mp3)), 0);
        return mp3;
    }

    void expectNoLeftovers(const std::string& base)
    {
        for (const char* suffix : {".tmp2", ".tmp3", "s.swf", ".htm"})
            EXPECT_FALSE(test::fileExists(out(base + suffix))) << base + suffix;
    }

    test::TestFolder work;
    std::string settingsPath = work.file("orvaln.da0");
    std::string outDir = work.file("out/");
};

TEST_F(ConvertCommandTest, WavInputsBecomeStreamsAtTheChosenFormat)
{
    struct Case {
        test::TestTone input;
        int rate, channels, bitrate;
    };
    const std::vector<std::uint8_t> oddChunk = {'o', 'r', 'v'};
    const std::vector<Case> cases = {
        {{.sampleRate = 44100, .channels = 2, .bitsPerSample = 16}, 44100, 2, 128},
        {{.sampleRate = 44100, .channels = 2, .bitsPerSample = 16}, 11025, 1, 32},
        {{.sampleRate = 22050, .channels = 1, .bitsPerSample = 8}, 22050, 1, 64},
        {{.sampleRate = 8000, .channels = 1, .bitsPerSample = 16,
          .chunksBefore = {{"LIST", oddChunk}}, .chunksAfter = {{"id3 ", oddChunk}}}, 44100, 2, 320},
        {{.sampleRate = 48000, .channels = 2, .bitsPerSample = 8}, 22050, 2, 160},
        {{.sampleRate = 11025, .channels = 2, .bitsPerSample = 16}, 11025, 2, 8},
    };
    int number = 1;
    for (const auto& [input, rate, channels, bitrate] : cases) {
        const std::string wav = work.file("input" + std::to_string(number) + ".wav");
        test::writeWav(wav, input);
        const ProcessResult result = convert({"-r", std::to_string(rate), "-c", std::to_string(channels), "-b",
                                              std::to_string(bitrate), "-m", "loop", wav});
        ASSERT_EQ(result.status, 0) << result.err;
        const std::string base = "orvaln" + std::to_string(number++);
        EXPECT_EQ(result.out, out(base + ".htm") + "\n" + out(base + "s.swf") + "\n");

        const StreamFormat format = probeSwf(out(base + "s.swf"));
        EXPECT_EQ(format.sampleRate, rate) << base;
        EXPECT_EQ(format.channels, channels) << base;
        const double seconds = static_cast<double>(decodedSamples(out(base + "s.swf")).size()) / 8000;
        EXPECT_NEAR(seconds, input.seconds + 0.1, 0.12) << base;
        EXPECT_FALSE(test::fileExists(out(base + ".tmp3")));
    }
    EXPECT_EQ(savedSettings().nextOutputNumber, number);
}

TEST_F(ConvertCommandTest, Mp3InputsOfEveryMpegVersionAreReencoded)
{
    struct Case {
        std::string lameOptions;
        test::TestTone input;
        int rate, channels, bitrate;
    };
    const std::vector<Case> cases = {
        {"-b 128 --cbr", {.sampleRate = 44100, .channels = 2}, 44100, 2, 128},
        {"-V 4 -m m", {.sampleRate = 22050, .channels = 1}, 44100, 1, 96},
        {"-b 32 --cbr", {.sampleRate = 11025, .channels = 2}, 22050, 1, 64},
        {"-b 24 --resample 8 -m m", {.sampleRate = 16000, .channels = 1}, 11025, 2, 48},
        {"-V 2 --tt Title --ta Artist --add-id3v2", {.sampleRate = 48000, .channels = 2}, 44100, 2, 192},
    };
    int number = 1;
    for (const auto& [options, input, rate, channels, bitrate] : cases) {
        const std::string mp3 = makeMp3("input" + std::to_string(number) + ".mp3", options, input);
        const ProcessResult result = convert({"-r", std::to_string(rate), "-c", std::to_string(channels), "-b",
                                              std::to_string(bitrate), mp3});
        ASSERT_EQ(result.status, 0) << options << "\n" << result.err;
        const std::string base = "orvaln" + std::to_string(number++);
        const StreamFormat format = probeSwf(out(base + "s.swf"));
        EXPECT_EQ(format.sampleRate, rate) << options;
        EXPECT_EQ(format.channels, channels) << options;
        const double seconds = static_cast<double>(decodedSamples(out(base + "s.swf")).size()) / 8000;
        EXPECT_NEAR(seconds, input.seconds + 0.15, 0.2) << options;
        EXPECT_FALSE(test::fileExists(out(base + ".tmp2")));
    }
}

TEST_F(ConvertCommandTest, TheSoundSurvivesTheConversion)
{
    const test::TestTone tone = {.sampleRate = 44100, .channels = 2, .seconds = 4, .segmentAmplitudes = kSteps};
    const std::string wav = work.file("steps.wav");
    test::writeWav(wav, tone);
    const auto reference = loudnessEnvelope(decodedSamples(wav));
    const std::string mp3 = makeMp3("steps.mp3", "-b 192", tone);

    ASSERT_EQ(convert({"-r", "44100", "-c", "2", "-b", "128", wav}).status, 0);
    ASSERT_EQ(convert({"-r", "22050", "-c", "1", "-b", "64", mp3}).status, 0);
    EXPECT_GT(envelopeMatch(reference, loudnessEnvelope(decodedSamples(out("orvaln1s.swf")))), 0.95);
    EXPECT_GT(envelopeMatch(reference, loudnessEnvelope(decodedSamples(out("orvaln2s.swf")))), 0.95);
}

TEST_F(ConvertCommandTest, ThePageTextComesFromTheTagsUnlessGiven)
{
    const std::string mp3 = makeMp3("tagged.mp3", "-b 64 --ta Artist --tt \"Song <live>\"", {.seconds = 0.5});
    ASSERT_EQ(convert({mp3}).status, 0);
    EXPECT_NE(test::readText(out("orvaln1.htm")).find("      Artist - Song (live)\r\n"), std::string::npos);

    ASSERT_EQ(convert({"-t", "My text", mp3}).status, 0);
    EXPECT_NE(test::readText(out("orvaln2.htm")).find("      My text\r\n"), std::string::npos);
}

TEST_F(ConvertCommandTest, RefusedInputsReportAndUseNoNumber)
{
    const std::string empty = work.file("empty.wav");
    test::writeText(empty, "");
    const std::string good = work.file("good.wav");
    test::writeWav(good, {.seconds = 0.3});

    const ProcessResult result = convert({work.file("song.ogg"), work.file("missing.mp3"), empty, good});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Error: Input file name \"" + work.file("song.ogg") + "\" must end in \".mp3\" or \".wav\".\n"
              "Error: Input file not found \"" + work.file("missing.mp3") + "\".\n"
              "Error: Input file contains no data \"" + empty + "\".\n");
    EXPECT_TRUE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(savedSettings().nextOutputNumber, 2);
}

TEST_F(ConvertCommandTest, OptionsAreCheckedAsTheOptionsDialogChecksThem)
{
    const std::string wav = work.file("a.wav");
    test::writeWav(wav, {.seconds = 0.3});

    ProcessResult result = convert({"-r", "11025", "-b", "80", wav});
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "Error: Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n");
    result = convert({"-r", "44100", "-b", "32", wav});
    EXPECT_EQ(result.err, "Error: Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n");
    EXPECT_EQ(convert({"-b", "100", wav}).status, 2);
    EXPECT_EQ(convert({"-c", "3", wav}).status, 2);
    EXPECT_EQ(convert({"--mode", "sometimes", wav}).status, 2);
    EXPECT_EQ(convert({"--background", "red", wav}).status, 2);
    EXPECT_EQ(convert({"-n", "100000", wav}).status, 2);
    EXPECT_EQ(convert({"--frobnicate", wav}).status, 2);
    EXPECT_EQ(convert({}).status, 2);
    EXPECT_FALSE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(savedSettings().nextOutputNumber, 1);

    result = test::runConverter(ORVALIN_PROGRAM_DIR, {"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("Usage: orvalin-convert [options] INPUT...\n", 0), 0u);
    EXPECT_EQ(test::runConverter(ORVALIN_PROGRAM_DIR, {"--version"}).out, "orvalin-convert 2.00\n");
}

TEST_F(ConvertCommandTest, OptionsApplyToThisRunOnly)
{
    const ConversionSettings before = savedSettings();
    const std::string wav = work.file("a.wav");
    test::writeWav(wav, {.seconds = 0.3});
    const ProcessResult result = convert({"-n", "500", "-r", "22050", "-c", "1", "-b", "48", "-m", "once",
                                          "--letter", "E", "--background", "#12ab9F", wav, wav});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(test::fileExists(out("orvaln500s.swf")));
    EXPECT_TRUE(test::fileExists(out("orvaln501s.swf")));
    const std::string page = test::readText(out("orvaln501.htm"));
    EXPECT_NE(page.find("<body bgcolor=\"#12ab9F\""), std::string::npos);
    EXPECT_NE(page.find("<param name=loop value=false>"), std::string::npos);

    // The saved settings keep their values; only the number moved, once per run.
    ConversionSettings expected = before;
    expected.nextOutputNumber += 2;
    EXPECT_EQ(savedSettings(), expected);
}

TEST_F(ConvertCommandTest, ExistingOutputsAreKeptUnlessTheUserAgrees)
{
    const std::string wav = work.file("a.wav");
    test::writeWav(wav, {.seconds = 0.3});
    test::writeText(out("orvaln1.htm"), "an earlier page");

    // Without a terminal to ask on, the answer is No.
    ProcessResult result = test::runConverter(ORVALIN_PROGRAM_DIR, {"--settings", settingsPath, "-o", outDir, wav});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("Is it OK to overwrite this file:\n" + out("orvaln1.htm")), std::string::npos);
    EXPECT_EQ(test::readText(out("orvaln1.htm")), "an earlier page");
    EXPECT_FALSE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(savedSettings().nextOutputNumber, 2);

    result = convert({"--yes", "-n", "1", wav});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(test::readText(out("orvaln1.htm")), "an earlier page");
}

TEST_F(ConvertCommandTest, CtrlCCancelsCleanly)
{
    const std::string wav = work.file("long.wav");
    test::writeWav(wav, {.sampleRate = 44100, .channels = 2, .seconds = 120});
    const std::string mp3 = makeMp3("long.mp3", "-b 128", {.sampleRate = 44100, .channels = 2, .seconds = 120});

    for (const std::string& input : {wav, mp3}) {
        const int number = savedSettings().nextOutputNumber;
        const ProcessResult result = convert({input}, 400);
        EXPECT_EQ(result.status, 3) << input << "\n" << result.err;
        expectNoLeftovers("orvaln" + std::to_string(number));
        EXPECT_EQ(savedSettings().nextOutputNumber, number + 1);
    }
}

TEST_F(ConvertCommandTest, RunsFromAnyProgramFolderAndCopiesTheController)
{
    const std::string program = work.file("program/");
    fs::create_directories(program + "Controllers");
    fs::copy_file(std::string(ORVALIN_PROGRAM_DIR) + "orvalin-convert", program + "orvalin-convert");
    test::writeText(program + "Controllers/square01200040.swf", "controller bytes");

    const std::string wav = work.file("a.wav");
    test::writeWav(wav, {.seconds = 0.3});
    ProcessResult result = convert({"-m", "controller", "--controller", "square01200040", wav}, -1, program);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Error: Cannot load DLL [" + program + "lame_enc.so].\n");
    expectNoLeftovers("orvaln1");

    for (const char* module : {"lame_enc.so", "decoder.so"})
        fs::copy_file(std::string(ORVALIN_PROGRAM_DIR) + module, program + module);
    result = convert({"-m", "controller", "--controller", "square01200040", "--letter", "d", wav}, -1, program);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, out("orvaln2.htm") + "\n" + out("orvaln2s.swf") + "\n" + out("orvaln2d.swf") + "\n");
    EXPECT_EQ(test::readText(out("orvaln2d.swf")), "controller bytes");
    EXPECT_NE(test::readText(out("orvaln2.htm")).find("width=200 height=40"), std::string::npos);
}

} // namespace
} // namespace orvalin
