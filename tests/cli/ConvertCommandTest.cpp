// The command-line converter run as a process: its options, exit statuses and
// messages, and its animations as FFmpeg plays them back.
#include "SwfFile.h"
#include "TestAudio.h"
#include "TestFolder.h"
#include "settings/ParametersFile.h"

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using test::shellQuote;

struct Result {
    int status = -1;
    std::string out, err;
};

class ConvertCommandTest : public ::testing::Test {
protected:
    ConvertCommandTest()
    {
        fs::copy_file(ORVALIN_SHIPPED_PARAMETERS, settingsPath);
        fs::create_directory(outDir);
    }

    // Runs the converter of a program folder with no input to read. With
    // interruptOnce, it gets the signal once that file appears.
    Result run(const std::vector<std::string>& arguments, const std::string& program = ORVALIN_PROGRAM_DIR,
               const std::string& interruptOnce = "", const std::string& signal = "INT")
    {
        std::string command = converter(arguments, program) + " </dev/null >" + shellQuote(work.file("stdout")) +
                              " 2>" + shellQuote(work.file("stderr"));
        if (!interruptOnce.empty())
            command += " & for i in $(seq 3000); do [ -e " + shellQuote(interruptOnce) +
                       " ] && break; sleep 0.01; done; kill -" + signal + " $!; wait $!";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readText(work.file("stdout")),
                test::readText(work.file("stderr"))};
    }

    static std::string converter(const std::vector<std::string>& arguments,
                                 const std::string& program = ORVALIN_PROGRAM_DIR)
    {
        std::string command = shellQuote(program + "orvalin-convert");
        for (const auto& argument : arguments)
            command += " " + shellQuote(argument);
        return command;
    }

    Result convert(std::vector<std::string> arguments, const std::string& program = ORVALIN_PROGRAM_DIR)
    {
        arguments.insert(arguments.begin(), {"--settings", settingsPath, "-o", outDir});
        return run(arguments, program);
    }

    int nextNumber() const { return parseParameters(test::readText(settingsPath)).nextOutputNumber; }
    std::string out(const std::string& name) const { return outDir + name; }

    std::string wav(const std::string& name, const test::TestTone& tone = {.seconds = 0.3})
    {
        test::writeWav(work.file(name), tone);
        return work.file(name);
    }

    std::string mp3(const std::string& name, const std::string& lameOptions, const test::TestTone& tone)
    {
        const std::string from = wav(name + ".wav", tone);
        EXPECT_EQ(test::runCommand("lame --quiet " + lameOptions + " " + shellQuote(from) + " " +
                                   shellQuote(work.file(name))), 0);
        return work.file(name);
    }

    test::TestFolder work;
    std::string settingsPath = work.file("orvaln.da0");
    std::string outDir = work.file("out/");
};

// Loudness steps of half a second, each recognisable after coding.
const std::vector<double> kSteps = {0.6, 0.05, 0.3, 0.15};

// Every input converts to a stream FFmpeg reads as MP3 of the chosen rate and
// channels, as long as the input, with the input's loudness steps in place.
TEST_F(ConvertCommandTest, AnimationsHoldTheInputsSoundAtTheChosenFormat)
{
    struct Case {
        std::string lameOptions; // empty for a WAV input
        test::TestTone tone;
        int rate, channels, bitrate;
    };
    const std::vector<std::uint8_t> oddChunk = {'o', 'r', 'v'};
    const Case cases[] = {
        {"", {.sampleRate = 44100, .channels = 2, .bitsPerSample = 16}, 44100, 2, 128},
        {"", {.sampleRate = 44100, .channels = 2, .bitsPerSample = 16}, 11025, 1, 32},
        {"", {.sampleRate = 22050, .channels = 1, .bitsPerSample = 8}, 22050, 1, 64},
        {"", {.sampleRate = 8000, .channels = 1, .bitsPerSample = 16, .chunksBefore = {{"LIST", oddChunk}},
              .chunksAfter = {{"id3 ", oddChunk}}}, 44100, 2, 320},
        {"", {.sampleRate = 48000, .channels = 2, .bitsPerSample = 8}, 22050, 2, 160},
        {"", {.sampleRate = 11025, .channels = 2, .bitsPerSample = 16}, 11025, 2, 8},
        {"-b 128 --cbr", {.sampleRate = 44100, .channels = 2}, 44100, 2, 128},
        {"-V 4 -m m", {.sampleRate = 22050, .channels = 1}, 44100, 1, 96},
        {"-b 32 --cbr", {.sampleRate = 11025, .channels = 2}, 22050, 1, 64},
        {"-b 24 --resample 8 -m m", {.sampleRate = 16000, .channels = 1}, 11025, 2, 48},
        {"-V 2 --tt Title --ta Artist --add-id3v2", {.sampleRate = 48000, .channels = 2}, 44100, 2, 192},
    };
    int number = 1;
    for (auto [lameOptions, tone, rate, channels, bitrate] : cases) {
        tone.seconds = 2;
        tone.segmentAmplitudes = kSteps;
        tone.segmentSeconds = 0.5;
        const std::string name = "input" + std::to_string(number);
        const std::string input = lameOptions.empty() ? wav(name + ".wav", tone) : mp3(name + ".mp3", lameOptions, tone);
        SCOPED_TRACE(input + " " + lameOptions);
        const Result result = convert({"-r", std::to_string(rate), "-c", std::to_string(channels), "-b",
                                       std::to_string(bitrate), "-m", "loop", input});
        ASSERT_EQ(result.status, 0) << result.err;
        const std::string base = out("orvaln" + std::to_string(number++));
        EXPECT_EQ(result.out, base + ".htm\n" + base + "s.swf\n");

        EXPECT_EQ(test::captureCommand("ffprobe -v error -select_streams a:0 -show_entries "
                                       "stream=codec_name,sample_rate,channels -of csv=p=0 " + shellQuote(base + "s.swf")),
                  "mp3," + std::to_string(rate) + "," + std::to_string(channels) + "\n");
        // The sound as 8 kHz mono samples.
        const std::string raw = test::captureCommand("ffmpeg -v error -i " + shellQuote(base + "s.swf") +
                                                     " -ac 1 -ar 8000 -f s16le -");
        std::vector<std::int16_t> samples(raw.size() / 2);
        std::memcpy(samples.data(), raw.data(), samples.size() * 2);
        ASSERT_NEAR(samples.size() / 8000.0, 2.1, 0.1);
        // The middle of each step, after any coder delay.
        const auto loudness = [&](std::size_t step) {
            double sum = 0;
            for (std::size_t i = 4000 * step + 1400; i < 4000 * step + 3800; ++i)
                sum += double(samples[i]) * samples[i];
            return std::sqrt(sum);
        };
        for (std::size_t step = 1; step < kSteps.size(); ++step) {
            const double ratio = kSteps[step] / kSteps[0];
            EXPECT_NEAR(loudness(step) / loudness(0), ratio, 0.05 * ratio) << step;
        }
    }
    EXPECT_EQ(nextNumber(), number);
}

TEST_F(ConvertCommandTest, ThePageTextComesFromTheTagsUnlessGiven)
{
    const std::string tagged = mp3("tagged.mp3", "-b 64 --ta Artist --tt \"Song <live>\"", {.seconds = 0.5});
    ASSERT_EQ(convert({tagged}).status, 0);
    EXPECT_NE(test::readText(out("orvaln1.htm")).find("      Artist - Song (live)\r\n"), std::string::npos);
    ASSERT_EQ(convert({"-t", "My text", tagged}).status, 0);
    EXPECT_NE(test::readText(out("orvaln2.htm")).find("      My text\r\n"), std::string::npos);
}

TEST_F(ConvertCommandTest, RefusedInputsReportAndUseNoNumber)
{
    const std::string empty = work.file("empty.wav");
    test::writeText(empty, "");
    const Result result = convert({work.file("song.ogg"), work.file("missing.mp3"), empty, wav("good.wav")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "Error: Input file name \"" + work.file("song.ogg") + "\" must end in \".mp3\" or \".wav\".\n"
              "Error: Input file not found \"" + work.file("missing.mp3") + "\".\n"
              "Error: Input file contains no data \"" + empty + "\".\n");
    EXPECT_TRUE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(nextNumber(), 2);
}

TEST_F(ConvertCommandTest, BadOptionsAreRefusedBeforeAnyRun)
{
    const std::string input = wav("a.wav");
    const std::string tryHelp = "Try 'orvalin-convert --help' for more information.\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-r", "11025", "-b", "80"}, "Error: Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n"},
        {{"-r", "44100", "-b", "32"}, "Error: Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n"},
        {{"-b", "100"}, "Error: Bitrate 100 kb/s is not one of the bitrates offered.\n"},
        {{"-c", "3"}, "Error: Channels must be 1 (mono) or 2 (stereo).\n"},
        {{"--mode", "sometimes"}, "orvalin-convert: invalid mode 'sometimes'\n" + tryHelp},
        {{"--background", "red"}, "orvalin-convert: invalid background colour 'red'\n" + tryHelp},
        {{"-n", "100000"}, "orvalin-convert: invalid output number '100000'\n" + tryHelp},
        {{"-j", "0"}, "orvalin-convert: invalid number of jobs '0'\n" + tryHelp},
        {{"-o", ""}, "Error: No output folder is set: give one with -o DIR.\n"},
        {{"--controller", "../x"}, "Error: Controller \"../x\" must be a name from the Controllers folder, not a path.\n"},
        {{"--frobnicate"}, "orvalin-convert: unknown option '--frobnicate'\n" + tryHelp},
        // A shell pattern that expanded to "-hits.mp3" is no request for help.
        {{"-hits.mp3"}, "orvalin-convert: unknown option '-i'\n" + tryHelp},
    };
    for (auto [arguments, message] : cases) {
        arguments.push_back(input);
        const Result result = convert(arguments);
        EXPECT_EQ(result.status, 2) << arguments[0];
        EXPECT_EQ(result.err, message);
    }
    EXPECT_EQ(run({}).status, 2);
    EXPECT_FALSE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(nextNumber(), 1);

    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: orvalin-convert [options] INPUT...\n", 0), 0u);
    EXPECT_EQ(run({"--version"}).out, "orvalin-convert 2.00\n");
    // After "--" a name that starts with "-" is an input.
    fs::rename(input, work.file("-the-best.wav"));
    EXPECT_EQ(convert({"--", work.file("-the-best.wav")}).status, 0);
    EXPECT_TRUE(test::fileExists(out("orvaln1s.swf")));
}

TEST_F(ConvertCommandTest, OptionsApplyToThisRunOnly)
{
    ConversionSettings expected = parseParameters(test::readText(settingsPath));
    const std::string input = wav("a.wav");
    const Result result = convert({"-n", "500", "-r", "22050", "-c", "1", "-b", "48", "-m", "once", "--letter", "E",
                                   "--background", "#12ab9F", input, input});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(test::fileExists(out("orvaln500s.swf")));
    const std::string page = test::readText(out("orvaln501.htm"));
    EXPECT_NE(page.find("<body bgcolor=\"#12ab9F\""), std::string::npos);
    EXPECT_NE(page.find("<param name=loop value=false>"), std::string::npos);
    // The saved settings keep their values; only the number moved, once per run.
    expected.nextOutputNumber += 2;
    EXPECT_EQ(parseParameters(test::readText(settingsPath)), expected);

    // A saved number outside 0 to 99999 counts by its last five digits, and
    // after 99999 comes 0.
    for (const auto& [saved, used] : {std::pair{2147483647, "83647"}, {-5, "5"}}) {
        expected.nextOutputNumber = saved;
        test::writeText(settingsPath, formatParameters(expected));
        EXPECT_EQ(convert({input}).status, 0);
        EXPECT_TRUE(test::fileExists(out("orvaln" + std::string(used) + "s.swf"))) << saved;
    }
    EXPECT_EQ(convert({"-n", "99999", input, input}).status, 0);
    EXPECT_TRUE(test::fileExists(out("orvaln99999s.swf")) && test::fileExists(out("orvaln0s.swf")));
}

TEST_F(ConvertCommandTest, ExistingOutputsAreKeptUnlessTheUserAgrees)
{
    const std::string input = wav("a.wav");
    test::writeText(out("orvaln1.htm"), "an earlier page");
    // Without a terminal to ask on, the answer is No.
    Result result = convert({input});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("Is it OK to overwrite this file:\n" + out("orvaln1.htm")), std::string::npos);
    EXPECT_EQ(test::readText(out("orvaln1.htm")), "an earlier page");
    EXPECT_FALSE(test::fileExists(out("orvaln1s.swf")));
    EXPECT_EQ(nextNumber(), 2);

    EXPECT_EQ(convert({"--yes", "-n", "1", input}).status, 0);
    EXPECT_NE(test::readText(out("orvaln1.htm")), "an earlier page");

    // With --jobs, the runs' questions are asked as one before any starts,
    // and answered for all: No without a terminal, as the user says at one.
    const std::vector<std::string> batch = {"-j", "2", "-n", "10", input, input, input};
    const std::string question = "Is it OK to overwrite these files:\n" + out("orvaln10.htm") + "\n" +
                                 out("orvaln11s.swf") + "\n";
    for (const bool atTerminal : {false, true}) {
        test::writeText(out("orvaln10.htm"), "earlier");
        test::writeText(out("orvaln11s.swf"), "earlier");
        std::vector<std::string> arguments = {"--settings", settingsPath, "-o", outDir, "-q"};
        arguments.insert(arguments.end(), batch.begin(), batch.end());
        if (atTerminal) {
            const int status = std::system(("printf 'y\\n' | script -qec " + shellQuote(converter(arguments)) +
                                            " /dev/null >" + shellQuote(work.file("typed"))).c_str());
            const std::string typed = test::readText(work.file("typed"));
            result = {WEXITSTATUS(status), "", std::regex_replace(typed, std::regex("\r"), "")};
        } else {
            result = run(arguments);
        }
        EXPECT_EQ(result.status, atTerminal ? 0 : 3);
        const std::size_t asked = result.err.find(question);
        EXPECT_NE(asked, std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("Is it OK", asked + 1), std::string::npos) << "asked once";
        EXPECT_EQ(test::readText(out("orvaln10.htm")) == "earlier", !atTerminal);
        EXPECT_EQ(test::readText(out("orvaln11s.swf")) == "earlier", !atTerminal);
        EXPECT_TRUE(test::fileExists(out("orvaln12.htm")));
        fs::remove(out("orvaln12.htm"));
    }
}

// Ctrl-C, a closed terminal and a polite kill all cancel the run.
TEST_F(ConvertCommandTest, InterruptHangUpAndTerminateCancelTheRun)
{
    const std::string input = wav("long.wav", {.seconds = 120});
    int number = 1;
    for (const char* signal : {"INT", "HUP", "TERM"}) {
        const std::string temporary = out("orvaln" + std::to_string(number++) + ".tmp3");
        const Result result = run({"--settings", settingsPath, "-o", outDir, input}, ORVALIN_PROGRAM_DIR,
                                  temporary, signal);
        EXPECT_EQ(result.status, 3) << signal << ": " << result.err;
        EXPECT_TRUE(fs::is_empty(outDir)) << signal;
    }
    // Several at once: every run is cancelled, and no more start.
    const Result result = run({"-j", "2", "--settings", settingsPath, "-o", outDir, input, input, input},
                              ORVALIN_PROGRAM_DIR, out("orvaln5.tmp3"));
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_TRUE(fs::is_empty(outDir));
    EXPECT_EQ(nextNumber(), 6);
}

// A run killed outright keeps its number used and holds nothing back: the
// next run takes the next number at once.
TEST_F(ConvertCommandTest, AKilledRunHoldsNothingBack)
{
    const std::string input = wav("long.wav", {.seconds = 120});
    const Result killed = run({"--settings", settingsPath, "-o", outDir, input}, ORVALIN_PROGRAM_DIR,
                              out("orvaln1.tmp3"), "KILL");
    EXPECT_EQ(killed.status, 128 + SIGKILL);
    EXPECT_EQ(test::runCommand("timeout 20 " + converter({"--settings", settingsPath, "-o", outDir, wav("a.wav")})), 0);
    EXPECT_TRUE(test::fileExists(out("orvaln2s.swf")));
    EXPECT_EQ(nextNumber(), 3);
}

// Runs started together on one parameters file take numbers of their own:
// each page shows its own animation, made whole, and the file counts them all.
TEST_F(ConvertCommandTest, RunsStartedTogetherTakeNumbersOfTheirOwn)
{
    const std::string converterRun =
        "timeout 30 " + converter({"-q", "-m", "loop", "--settings", settingsPath, "-o", outDir, wav("a.wav")});
    ASSERT_EQ(test::runCommand("for i in 1 2 3 4 5 6 7 8; do " + converterRun + " & pids=\"$pids $!\"; done; "
                               "for p in $pids; do wait $p || exit 1; done"), 0);
    EXPECT_EQ(nextNumber(), 9);
    const auto first = test::readBytes(out("orvaln1s.swf"));
    EXPECT_EQ(test::parseSwf(first).declaredLength, first.size());
    for (int number = 1; number <= 8; ++number) {
        const std::string base = "orvaln" + std::to_string(number);
        EXPECT_NE(test::readText(out(base + ".htm")).find("value=\"" + base + "s.swf\""), std::string::npos) << base;
        EXPECT_EQ(test::readBytes(out(base + "s.swf")), first) << base;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(outDir), {}), 16);
}

// Several inputs at once make and say what they make one after the other,
// with numbers taken in input order or chosen.
TEST_F(ConvertCommandTest, JobsMakeWhatRunsInTurnMake)
{
    const std::vector<std::string> inputs = {wav("a.wav", {.seconds = 1}), work.file("refused.ogg"),
                                             mp3("b.mp3", "-b 64", {.seconds = 1.5}),
                                             wav("c.wav", {.channels = 1, .seconds = 0.5}), wav("d.wav")};
    std::vector<Result> results;
    using Arguments = std::vector<std::string>;
    for (const Arguments& jobs : {Arguments{"-j", "1"}, {"-j", "3"}, {"-j", "2", "-n", "1"}}) {
        fs::copy_file(ORVALIN_SHIPPED_PARAMETERS, settingsPath, fs::copy_options::overwrite_existing);
        const std::string folder = work.file("jobs" + std::to_string(results.size()) + "/");
        fs::create_directory(folder);
        std::vector<std::string> arguments = {"--settings", settingsPath, "-o", folder};
        arguments.insert(arguments.end(), jobs.begin(), jobs.end());
        arguments.insert(arguments.end(), inputs.begin(), inputs.end());
        results.push_back(run(arguments));
        EXPECT_EQ(std::tuple(results.back().status, results.back().err, nextNumber()),
                  std::tuple(1, results[0].err, 5));
        EXPECT_EQ(std::regex_replace(results.back().out, std::regex("jobs\\d"), "jobs0"), results[0].out);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 12);
        for (const auto& made : fs::directory_iterator(work.file("jobs0/")))
            EXPECT_EQ(test::readBytes(folder + made.path().filename().string()), test::readBytes(made.path())) << made;
    }
}

TEST_F(ConvertCommandTest, RunsFromAnyProgramFolderAndCopiesTheController)
{
    const std::string program = work.file("program/");
    fs::create_directories(program + "Controllers");
    fs::copy_file(ORVALIN_PROGRAM_DIR "orvalin-convert", program + "orvalin-convert");
    test::writeText(program + "Controllers/square01200040.swf", "controller bytes");
    const std::string input = wav("a.wav");
    Result result = convert({"-m", "controller", "--controller", "square01200040", input}, program);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Error: Cannot load DLL [" + program + "lame_enc.so].\n");

    for (const char* module : {"lame_enc.so", "decoder.so"})
        fs::copy_file(ORVALIN_PROGRAM_DIR + std::string(module), program + module);
    result = convert({"-m", "controller", "--controller", "square01200040", "--letter", "d", input}, program);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, out("orvaln2.htm") + "\n" + out("orvaln2s.swf") + "\n" + out("orvaln2d.swf") + "\n");
    EXPECT_EQ(test::readText(out("orvaln2d.swf")), "controller bytes");
    EXPECT_NE(test::readText(out("orvaln2.htm")).find("width=200 height=40"), std::string::npos);
}

} // namespace
} // namespace orvalin
