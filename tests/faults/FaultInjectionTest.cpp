// Every way a conversion can be cut short from outside: a write or read that
// fails at each point where the program makes one, an output folder it cannot
// use, a missing or broken module, and cancel at each point a stage checks for
// it. Whatever happens, the user is told the truth, no temporary stays, no
// partial animation stays and the parameters file stays whole.

#include "RealConversion.h"

#include <cerrno>
#include <map>
#include <unistd.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;
using test::RealConversion;
using Strings = std::vector<std::string>;

enum IoCall { Read, Write };

// The program's reads and writes so far, per file name; from the chosen call
// on, every call of that kind on that file fails, as on a failing disk. The
// test program is linked so that every pread and pwrite comes through here.
std::map<std::string, long> ioCounts[2];
struct {
    IoCall call = Read;
    std::string name;
    long from = 0; // 0 fails nothing
    int error = 0;
    bool struck = false;
} ioFault;

// The program's renames so far; the chosen one fails. The test program is
// linked so that every rename comes through here.
struct {
    long count = 0;
    long failing = 0; // 0 fails none
    bool struck = false;
} renameFault;

// Where this process writes the parameters file before it takes its name.
std::string parametersTemporary()
{
    return "orvaln.da0." + std::to_string(getpid()) + ".new";
}

bool failNow(IoCall call, int descriptor)
{
    char target[4096] = {};
    readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), target, sizeof target - 1);
    const std::string path = target;
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (++ioCounts[call][name] < ioFault.from || ioFault.from == 0 || call != ioFault.call || name != ioFault.name)
        return false;
    ioFault.struck = true;
    errno = ioFault.error;
    return true;
}

class FaultInjectionTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(test::writeToneFiles(inputs(), "input")); }
    static const test::TestFolder& inputs()
    {
        static const test::TestFolder folder;
        return folder;
    }
    std::string inputPath() const { return inputs().file(GetParam()); }
    bool fromMp3() const { return GetParam() == "input.mp3"; }

    // Converts once cleanly to learn the calls of this kind, per file; then
    // again for each of them, failing from that call on.
    void expectEveryFaultHandled(IoCall call, int error, const Strings& filesUsed)
    {
        ioFault = {};
        ioCounts[call].clear();
        RealConversion clean;
        clean.run(inputPath());
        EXPECT_EQ(clean.outcome(), JobOutcome::Succeeded);
        const auto counts = ioCounts[call];
        for (const auto& name : filesUsed)
            EXPECT_EQ(counts.count(name), 1u) << name;
        for (const auto& [name, count] : counts) {
            for (long n = 1; n <= count; ++n) {
                SCOPED_TRACE(name + " fails from call " + std::to_string(n));
                ioFault = {call, name, n, error};
                ioCounts[call].clear();
                RealConversion run;
                run.run(inputPath());
                ioFault.from = 0;
                EXPECT_TRUE(ioFault.struck);
                run.expectCleanAftermath();
                EXPECT_EQ(run.messageTexts(), Strings{faultMessage(call, name, run)});
                // The output number is taken first: no fault leaves a page.
                EXPECT_FALSE(test::fileExists(run.output("orvaln1.htm")));
                if (name.rfind("orvaln.da0", 0) == 0)
                    EXPECT_EQ(run.exitStatus, 1);
                else if (!run.inputAccepted)
                    EXPECT_EQ(name, "input.mp3") << "only an MP3's tags are read before the run";
                else
                    EXPECT_EQ(run.outcome(), JobOutcome::Failed);
            }
        }
    }

    static std::string faultMessage(IoCall call, const std::string& name, const RealConversion& run)
    {
        if (!run.inputAccepted && name == "input.mp3")
            return "Error: End of input file reached before end of expected data.";
        static const std::map<std::string, std::string> messages[2] = {
            {{"orvaln.da0", "Missing parameters file."},
             {"input.mp3", "Cannot read MP3 file."},
             {"input.wav", "Cannot read WAV file."},
             {"orvaln1.tmp2", "Cannot read WAV file."},
             {"orvaln1.tmp3", "Cannot read MP3 file."}},
            {{parametersTemporary(), "Cannot write to parameters file."},
             {"orvaln1.tmp2", "Cannot write WAV file."},
             {"orvaln1.tmp3", "Cannot write MP3 file."},
             {"orvaln1s.swf.new", "Cannot write SWF file."}},
        };
        if (messages[call].count(name))
            return "Error: " + messages[call].at(name);
        // The page, and the controller whether read or written.
        const std::string output = name == "orvaln1.htm.new" ? "orvaln1.htm" : "orvaln1c.swf";
        return "Error: Cannot create output file \"" + run.output(output) + "\".";
    }
};

TEST_P(FaultInjectionTest, AWriteThatFailsAnywhereFailsTheRunCleanly)
{
    Strings written = {"orvaln1.tmp3", "orvaln1s.swf.new", "orvaln1c.swf.new", "orvaln1.htm.new", parametersTemporary()};
    if (fromMp3())
        written.push_back("orvaln1.tmp2");
    expectEveryFaultHandled(Write, ENOSPC, written);
}

TEST_P(FaultInjectionTest, AReadErrorAnywhereFailsTheRunCleanly)
{
    expectEveryFaultHandled(Read, EIO, {GetParam(), "orvaln1.tmp3", "orvaln.da0"});
}

// Cancel at the pumps of a clean run where it is worth trying: the first and
// last few of each stage, where its checks before and after the work are, and
// a sample of those in between.
TEST_P(FaultInjectionTest, CancelAtAnyCheckEndsTheRunWithoutOutputs)
{
    std::vector<int> percents;
    RealConversion clean;
    Strings outputsSeen; // by a process killed at that moment
    clean.pump.onPump = [&](long) {
        percents.push_back(clean.status.stagePercent);
        for (const auto& name : {"orvaln1s.swf", "orvaln1c.swf", "orvaln1.htm"})
            if (test::fileExists(clean.output(name)))
                outputsSeen.push_back(name);
    };
    clean.run(inputPath());
    EXPECT_EQ(outputsSeen, Strings{}) << "outputs take their names only once all are whole";
    const long pumps = static_cast<long>(percents.size());
    ASSERT_GT(pumps, 10);
    for (long k = 0; k < pumps; ++k) {
        bool worthIt = k % 16 == 0;
        for (long j = std::max(0L, k - 2); j <= std::min(pumps - 1, k + 2); ++j)
            worthIt |= j == 0 || j + 1 == pumps || percents[j] < percents[j - 1] || percents[j + 1] < percents[j];
        if (!worthIt)
            continue;
        SCOPED_TRACE("cancel at pump " + std::to_string(k + 1));
        RealConversion run;
        run.pump.onPump = [&](long count) { run.status.cancelRequested |= count == k + 1; };
        run.run(inputPath());
        run.expectCleanAftermath();
        EXPECT_TRUE(run.messages.shown.empty());
        // The run starts by clearing what came before it.
        EXPECT_EQ(run.outcome(), k == 0 ? JobOutcome::Succeeded : JobOutcome::Cancelled);
        if (k > 0) {
            EXPECT_EQ(run.leftovers(), (Strings{"orvaln.da0", "orvaln.da0.lock"}));
        }
    }
}

TEST_P(FaultInjectionTest, AnUnusableOutputFolderOrModuleFailsTheRun)
{
    const std::string cannotCreate = fromMp3() ? "Error: Cannot create WAV file." : "Error: Cannot create MP3 file.";
    // Permissions do not hold back root; WAV input never loads the decoder.
    Strings cases = {"missing/", "/proc/", "lame_enc.so", "lame_enc.so not a library", "lame_enc.so another library"};
    if (geteuid() != 0)
        cases.push_back("read-only/");
    if (fromMp3())
        cases.insert(cases.end(), {"decoder.so", "decoder.so not a library", "decoder.so another library"});
    for (const auto& what : cases) {
        SCOPED_TRACE(what);
        test::TestFolder program;
        test::linkProgramFolder(program);
        RealConversion run(program.path());
        const std::string module = what.substr(0, what.find(' '));
        const std::string path = program.file(module);
        std::string message = "Error: Cannot load DLL [" + path + "].";
        if (what.back() == '/') {
            run.settings.outputFolder = what.front() == '/' ? what : run.output(what);
            message = cannotCreate;
        } else {
            fs::remove(path);
        }
        if (what == "read-only/") {
            fs::create_directory(run.settings.outputFolder);
            fs::permissions(run.settings.outputFolder, fs::perms::owner_read | fs::perms::owner_exec);
        } else if (what.ends_with("not a library")) {
            test::writeText(path, "\x7f" "ELF but not really");
        } else if (what.ends_with("another library")) {
            fs::copy_file(test::kProgramFolder + (module == "decoder.so" ? "lame_enc.so" : "decoder.so"), path);
        }
        run.run(inputPath());
        run.expectCleanAftermath();
        EXPECT_EQ(run.outcome(), JobOutcome::Failed);
        EXPECT_EQ(run.messageTexts(), Strings{message});
    }
}

// Over outputs the user agreed to replace, a rename that fails anywhere
// leaves the folder as the run found it: the parameters file's first, then
// each output's, whose old file is moved aside before the new one takes its
// name.
TEST_P(FaultInjectionTest, ARenameThatFailsLeavesTheFolderAsItWas)
{
    const Strings outputs = {"orvaln1s.swf", "orvaln1c.swf", "orvaln1.htm"};
    const auto runOverOldOutputs = [&](RealConversion& run) {
        for (const auto& name : outputs)
            test::writeText(run.output(name), "old " + name);
        run.messages.answers = {MessageAnswer::Yes};
        renameFault.count = 0;
        run.run(inputPath());
        renameFault.failing = 0;
    };
    renameFault = {};
    RealConversion clean;
    runOverOldOutputs(clean);
    ASSERT_EQ(clean.outcome(), JobOutcome::Succeeded);
    ASSERT_EQ(renameFault.count, 7);
    for (long n = 1; n <= 7; ++n) {
        SCOPED_TRACE("rename " + std::to_string(n) + " fails");
        RealConversion run;
        renameFault = {.failing = n};
        runOverOldOutputs(run);
        EXPECT_TRUE(renameFault.struck);
        for (const auto& name : outputs)
            EXPECT_EQ(test::readText(run.output(name)), "old " + name);
        for (const auto& name : run.leftovers())
            EXPECT_TRUE(name.find(".new") == std::string::npos && name.find(".old") == std::string::npos) << name;
        const std::string message = n == 1 ? "Error: Cannot write to parameters file."
                                           : "Error: Cannot create output file \"" +
                                                 run.output(outputs[(n - 2) / 2]) + "\".";
        const std::string question = "Is it OK to overwrite these files:\n" + run.output("orvaln1c.swf") + "\n" +
                                     run.output("orvaln1s.swf") + "\n" + run.output("orvaln1.htm");
        EXPECT_EQ(run.messageTexts(), (n == 1 ? Strings{message} : Strings{question, message}));
        EXPECT_EQ(run.exitStatus, n == 1 ? std::optional(1) : std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, FaultInjectionTest, ::testing::Values("input.mp3", "input.wav"),
                         [](const auto& input) { return input.param == "input.mp3" ? "Mp3" : "Wav"; });

} // namespace
} // namespace orvalin

extern "C" ssize_t __real_pread(int descriptor, void* buffer, size_t count, off_t offset);
extern "C" ssize_t __real_pwrite(int descriptor, const void* buffer, size_t count, off_t offset);

extern "C" ssize_t __wrap_pread(int descriptor, void* buffer, size_t count, off_t offset)
{
    return orvalin::failNow(orvalin::Read, descriptor) ? -1 : __real_pread(descriptor, buffer, count, offset);
}

extern "C" ssize_t __wrap_pwrite(int descriptor, const void* buffer, size_t count, off_t offset)
{
    return orvalin::failNow(orvalin::Write, descriptor) ? -1 : __real_pwrite(descriptor, buffer, count, offset);
}

extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_rename(const char* from, const char* to)
{
    auto& fault = orvalin::renameFault;
    if (++fault.count != fault.failing)
        return __real_rename(from, to);
    fault.struck = true;
    errno = EIO;
    return -1;
}
