// Every way a conversion can be cut short from outside: a write or read that
// fails at each point where the program makes one, an output folder it cannot
// use, a missing or broken module, and cancel at each point a stage checks for
// it. Whatever happens, the user is told the truth, no temporary stays, no
// partial animation stays and the parameters file stays whole.

#include "IoFaults.h"
#include "RealConversion.h"
#include "TestFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using test::IoCall;
using test::IoFaults;
using test::RealConversion;

const std::string kProgramFolder = ORVALIN_PROGRAM_DIR;

class FaultInjectionTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        inputs_ = new test::TestFolder;
        ASSERT_TRUE(test::writeToneFiles(*inputs_, "input"));
    }
    static void TearDownTestSuite() { delete std::exchange(inputs_, nullptr); }

    static std::string input(const std::string& name) { return inputs_->file(name); }
    std::string inputPath() const { return input(GetParam()); }

    static test::TestFolder* inputs_;
};

test::TestFolder* FaultInjectionTest::inputs_ = nullptr;

// Converts the input once cleanly to learn the calls of this kind it makes,
// per file; then again for each of them, failing from that call on, and hands
// every such run, checked for a sound aftermath, to the test. Returns the
// counts.
template <typename Check>
std::map<std::string, long> forEachFaultPoint(const std::string& inputPath, IoCall call, int error,
                                              const Check& check)
{
    std::map<std::string, long> counts;
    {
        IoFaults faults;
        RealConversion run(kProgramFolder);
        run.run(inputPath);
        EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);
        counts = faults.counts(call);
    }
    for (const auto& [name, count] : counts) {
        for (long n = 1; n <= count; ++n) {
            SCOPED_TRACE(name + " fails from call " + std::to_string(n));
            IoFaults faults;
            faults.failFrom(call, name, n, error);
            RealConversion run(kProgramFolder);
            run.run(inputPath);
            EXPECT_TRUE(faults.struck());
            test::expectSoundAftermath(run);
            check(name, run);
        }
    }
    return counts;
}

std::string pageMessage(const RealConversion& run, const std::string& name)
{
    return "Error: Cannot create output file \"" + run.output(name) + "\".";
}

using Messages = std::vector<std::string>;

TEST_P(FaultInjectionTest, AWriteThatFailsAnywhereFailsTheRunCleanly)
{
    const auto writes = forEachFaultPoint(inputPath(), IoCall::Write, ENOSPC, [](const std::string& name,
                                                                                const RealConversion& run) {
        if (name == "orvaln.da0.new") {
            // The outputs are made; only the number could not be kept.
            EXPECT_EQ(run.exitStatus, 1);
            EXPECT_EQ(run.messageTexts(), Messages{"Error: Cannot write to parameters file."});
            EXPECT_TRUE(test::fileExists(run.output("orvaln1.htm")));
            return;
        }
        const std::map<std::string, std::string> expected = {
            {"orvaln1.tmp2", "Error: Cannot write WAV file."},
            {"orvaln1.tmp3", "Error: Cannot write MP3 file."},
            {"orvaln1s.swf", "Error: Cannot write SWF file."},
            {"orvaln1c.swf", pageMessage(run, "orvaln1c.swf")},
            {"orvaln1.htm", pageMessage(run, "orvaln1.htm")},
        };
        EXPECT_EQ(run.outcome(), JobOutcome::Failed);
        EXPECT_EQ(run.messageTexts(), Messages{expected.at(name)});
    });
    EXPECT_EQ(writes.count("orvaln1.tmp2"), GetParam() == "input.mp3" ? 1u : 0u);
    for (const char* name : {"orvaln1.tmp3", "orvaln1s.swf", "orvaln1c.swf", "orvaln1.htm", "orvaln.da0.new"})
        EXPECT_EQ(writes.count(name), 1u) << name;
}

TEST_P(FaultInjectionTest, AReadErrorAnywhereFailsTheRunCleanly)
{
    const auto reads = forEachFaultPoint(inputPath(), IoCall::Read, EIO, [](const std::string& name,
                                                                           const RealConversion& run) {
        if (run.exitStatus) {
            EXPECT_EQ(name, "orvaln.da0");
            EXPECT_EQ(run.messageTexts(), Messages{"Error: Missing parameters file."});
            return;
        }
        if (!run.inputAccepted) {
            EXPECT_EQ(name, "input.mp3") << "only an MP3's tags are read before the run";
            EXPECT_EQ(run.messageTexts(), Messages{"Error: End of input file reached before end of expected data."});
            return;
        }
        const std::map<std::string, std::string> expected = {
            {"input.mp3", "Error: Cannot read MP3 file."},
            {"input.wav", "Error: Cannot read WAV file."},
            {"orvaln1.tmp2", "Error: Cannot read WAV file."},
            {"orvaln1.tmp3", "Error: Cannot read MP3 file."},
        };
        EXPECT_EQ(run.outcome(), JobOutcome::Failed);
        const std::string message =
            expected.count(name) ? expected.at(name) : pageMessage(run, "orvaln1c.swf"); // the controller
        EXPECT_EQ(run.messageTexts(), Messages{message});
    });
    EXPECT_EQ(reads.count(GetParam()), 1u);
    EXPECT_EQ(reads.count("orvaln1.tmp3"), 1u);
}

// The pumps of a clean run at which a cancel is worth trying: the first and
// last few of each stage, where its checks before and after the work are, and
// a sample of those in between.
std::vector<long> cancelPoints(const std::string& inputPath)
{
    RealConversion run(kProgramFolder);
    std::vector<int> percents;
    run.pump.onPump = [&](long) { percents.push_back(run.status.stagePercent); };
    run.run(inputPath);
    EXPECT_EQ(run.outcome(), JobOutcome::Succeeded);

    const long pumps = static_cast<long>(percents.size());
    std::vector<bool> nearEdge(percents.size() + 1, false);
    for (long k = 0; k < pumps; ++k) {
        const bool stageStarts = k == 0 || percents[k] < percents[k - 1];
        const bool stageEnds = k + 1 == pumps || percents[k + 1] < percents[k];
        if (stageStarts || stageEnds)
            for (long j = std::max(0L, k - 2); j <= std::min(pumps - 1, k + 2); ++j)
                nearEdge[j] = true;
    }
    std::vector<long> points;
    for (long k = 0; k < pumps; ++k)
        if (nearEdge[k] || k % 16 == 0)
            points.push_back(k + 1);
    return points;
}

TEST_P(FaultInjectionTest, CancelAtAnyCheckEndsTheRunWithoutOutputs)
{
    const auto points = cancelPoints(inputPath());
    ASSERT_GT(points.size(), 10u);
    for (const long cancelAt : points) {
        SCOPED_TRACE("cancel at pump " + std::to_string(cancelAt));
        RealConversion run(kProgramFolder);
        run.pump.onPump = [&](long count) {
            if (count == cancelAt)
                run.status.cancelRequested = true;
        };
        run.run(inputPath());
        test::expectSoundAftermath(run);
        EXPECT_TRUE(run.messages.shown.empty());
        // The run starts by clearing what came before it.
        EXPECT_EQ(run.outcome(), cancelAt == 1 ? JobOutcome::Succeeded : JobOutcome::Cancelled);
        if (cancelAt > 1) {
            EXPECT_EQ(run.leftovers(), std::vector<std::string>{"orvaln.da0"});
        }
    }
}

TEST_P(FaultInjectionTest, AnOutputFolderThatCannotTakeFilesFailsTheRun)
{
    std::vector<std::string> folders = {"missing/", "/proc/"};
    if (geteuid() != 0)
        folders.push_back("read-only/"); // permissions do not hold back root
    for (const auto& folder : folders) {
        SCOPED_TRACE(folder);
        RealConversion run(kProgramFolder);
        run.settings.outputFolder = folder.front() == '/' ? folder : run.output(folder);
        if (folder == "read-only/") {
            fs::create_directory(run.settings.outputFolder);
            fs::permissions(run.settings.outputFolder, fs::perms::owner_read | fs::perms::owner_exec);
        }
        run.run(inputPath());
        test::expectSoundAftermath(run);
        EXPECT_EQ(run.outcome(), JobOutcome::Failed);
        EXPECT_EQ(run.messageTexts(), std::vector<std::string>{GetParam() == "input.mp3"
                                                                   ? "Error: Cannot create WAV file."
                                                                   : "Error: Cannot create MP3 file."});
    }
}

TEST_P(FaultInjectionTest, AMissingOrBrokenModuleFailsTheRun)
{
    const bool fromMp3 = GetParam() == "input.mp3";
    for (const std::string module : {"lame_enc.so", "decoder.so"}) {
        if (module == "decoder.so" && !fromMp3)
            continue; // WAV input never loads the decoder
        const std::string other = module == "decoder.so" ? "lame_enc.so" : "decoder.so";
        for (const std::string fault : {"missing", "not a library", "another library"}) {
            SCOPED_TRACE(module + ": " + fault);
            test::ProgramFolderCopy program(kProgramFolder);
            const std::string path = program.path() + module;
            fs::remove(path);
            if (fault == "not a library")
                test::writeText(path, "\x7f" "ELF but not really");
            else if (fault == "another library")
                fs::copy_file(kProgramFolder + other, path);

            RealConversion run(program.path());
            run.run(inputPath());
            test::expectSoundAftermath(run);
            EXPECT_EQ(run.outcome(), JobOutcome::Failed);
            EXPECT_EQ(run.messageTexts(), std::vector<std::string>{"Error: Cannot load DLL [" + path + "]."});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, FaultInjectionTest, ::testing::Values("input.mp3", "input.wav"),
                         [](const auto& input) { return input.param == "input.mp3" ? "Mp3" : "Wav"; });

} // namespace
} // namespace orvalin
