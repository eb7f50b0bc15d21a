#include "job/ConversionJob.h"

#include "FakePlatform.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "job/JobStatus.h"
#include "job/ProgramContext.h"
#include "job/StageRunner.h"
#include "settings/ParametersFile.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin {
namespace {

enum class Step { Decode, Encode, Animation };

// Stages that write their outputs and fail or cancel as the real ones do:
// a failing or cancelled stage sets the status and removes its own output.
class FakeStages final : public StageRunner {
public:
    explicit FakeStages(JobStatus& status) : status_(status) {}

    void decode(const std::string& mp3Path, const std::string& wavPath) override
    {
        calls.push_back("decode " + mp3Path + " -> " + wavPath);
        produce(Step::Decode, wavPath);
    }

    void encode(const std::string& wavPath, const std::string& mp3Path, int bitrate, int sampleRate,
                int encoderMode) override
    {
        calls.push_back("encode " + wavPath + " -> " + mp3Path + " " + std::to_string(bitrate) + " " +
                        std::to_string(sampleRate) + " " + std::to_string(encoderMode));
        produce(Step::Encode, mp3Path);
    }

    void writeAnimation(const std::string& mp3Path, const std::string& swfPath, float frameRate,
                        int latencySeek) override
    {
        calls.push_back("animation " + mp3Path + " -> " + swfPath + " " + std::to_string(frameRate) +
                        " " + std::to_string(latencySeek));
        temporariesSeenByAnimation = test::fileExists(mp3Path);
        produce(Step::Animation, swfPath);
    }

    std::vector<std::string> calls;
    std::optional<Step> failAt;
    std::optional<Step> cancelAt;
    bool temporariesSeenByAnimation = false;

private:
    void produce(Step step, const std::string& path)
    {
        test::writeText(path, "output of a stage");
        if (failAt == step)
            status_.fail("Cannot encode in LAME encoder.");
        if (cancelAt == step)
            status_.cancelRequested = true;
        if (status_.failed || status_.cancelRequested)
            std::filesystem::remove(path);
    }

    JobStatus& status_;
};

class ConversionJobTest : public ::testing::Test {
protected:
    ConversionJobTest()
    {
        std::filesystem::create_directories(programFolder.file("Controllers"));
        test::writeText(programFolder.file("Controllers/round04200150.swf"), "controller bytes");
        context.programFolder = programFolder.path();
        context.desktopFolder = programFolder.path();
        context.inputPath = output.file("in.mp3");
        context.outputText = "Song";
        test::writeText(context.inputPath, "mp3 input");

        settings.outputToDesktop = false;
        settings.outputFolder = output.path();
        settings.outputMode = kControllerOutput;
        settings.controllerName = "round04200150";
        settings.instructionLetter = "c";
        settings.backgroundColour = "FFFFFF";
        settings.textColour = "000000";
        settings.nextOutputNumber = 7;
        settings.bitrate = 96;
        settings.sampleRate = 22050;
        settings.channels = 1;
    }

    std::string out(const std::string& name) const { return output.file(name); }

    int savedNumber() const
    {
        return parseParameters(test::readText(parameters.path())).nextOutputNumber;
    }

    void run()
    {
        ConversionJob job({settings, context, status, parameters, messages, pump}, stages, host);
        job.prepare();
        job.runJob();
    }

    test::TestFolder programFolder;
    test::TestFolder output;
    ConversionSettings settings;
    ProgramContext context;
    JobStatus status;
    test::RecordingMessages messages;
    test::ScriptedPump pump;
    test::ThrowingProcessExit processExit;
    ParametersFile parameters{settings, programFolder.file(kParametersFileName), messages, processExit};
    FakeStages stages{status};
    test::RecordingHost host;
};

TEST_F(ConversionJobTest, RunsTheStagesInOrderAndSettlesTheRun)
{
    run();

    EXPECT_EQ(stages.calls, (std::vector<std::string>{
                                "decode " + context.inputPath + " -> " + out("orvaln7.tmp2"),
                                "encode " + out("orvaln7.tmp2") + " -> " + out("orvaln7.tmp3") + " 96 22050 3",
                                "animation " + out("orvaln7.tmp3") + " -> " + out("orvaln7s.swf") + " 1.000000 1680",
                            }));
    EXPECT_TRUE(stages.temporariesSeenByAnimation);
    EXPECT_EQ(host.events, (std::vector<std::string>{"begin", "end", "outcome", "progress 100"}));
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Succeeded}));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_GE(pump.count, 1);

    EXPECT_EQ(test::readText(out("orvaln7c.swf")), "controller bytes");
    EXPECT_TRUE(test::fileExists(out("orvaln7s.swf")));
    EXPECT_NE(test::readText(out("orvaln7.htm")).find("value=\"orvaln7c.swf\""), std::string::npos);
    EXPECT_FALSE(test::fileExists(out("orvaln7.tmp2")));
    EXPECT_FALSE(test::fileExists(out("orvaln7.tmp3")));
    EXPECT_EQ(settings.nextOutputNumber, 8);
    EXPECT_EQ(savedNumber(), 8);
}

TEST_F(ConversionJobTest, AWavInputIsEncodedDirectly)
{
    context.inputIsWav = true;
    context.inputPath = out("take.WAV");
    settings.channels = 2;
    settings.outputMode = kBareLoopingOutput;
    run();

    ASSERT_EQ(stages.calls.size(), 2u);
    EXPECT_EQ(stages.calls[0], "encode " + context.inputPath + " -> " + out("orvaln7.tmp3") + " 96 22050 0");
    EXPECT_FALSE(test::fileExists(out("orvaln7c.swf")));
    EXPECT_NE(test::readText(out("orvaln7.htm")).find("value=\"orvaln7s.swf\""), std::string::npos);
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Succeeded}));
}

TEST_F(ConversionJobTest, AsksOnceBeforeOverwritingOneFile)
{
    test::writeText(out("orvaln7.htm"), "old page");
    messages.answers = {MessageAnswer::Yes};
    run();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Is it OK to overwrite this file:\n" + out("orvaln7.htm"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.shown[0].owner, MessageOwner::None);
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Succeeded}));
    EXPECT_NE(test::readText(out("orvaln7.htm")), "old page");
}

TEST_F(ConversionJobTest, NoToTheOverwriteQuestionCancelsWithoutTouchingAFile)
{
    for (const char* name : {"orvaln7c.swf", "orvaln7s.swf", "orvaln7.htm"})
        test::writeText(out(name), "earlier run");
    run();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Is it OK to overwrite these files:\n" + out("orvaln7c.swf") + "\n" +
                                          out("orvaln7s.swf") + "\n" + out("orvaln7.htm"));
    EXPECT_TRUE(stages.calls.empty());
    for (const char* name : {"orvaln7c.swf", "orvaln7s.swf", "orvaln7.htm"})
        EXPECT_EQ(test::readText(out(name)), "earlier run") << name;
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Cancelled}));
    EXPECT_EQ(savedNumber(), 8);
}

TEST_F(ConversionJobTest, BareOutputNeitherAsksAboutNorReplacesAControllerFile)
{
    settings.outputMode = kBareOnceOutput;
    test::writeText(out("orvaln7c.swf"), "someone else's");
    run();

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(test::readText(out("orvaln7c.swf")), "someone else's");
}

TEST_F(ConversionJobTest, AFailingStageIsShownOnceAndEndsTheRun)
{
    stages.failAt = Step::Encode;
    run();

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error: Cannot encode in LAME encoder.");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].owner, MessageOwner::MainWindow);
    EXPECT_EQ(stages.calls.size(), 2u);
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Failed}));
    EXPECT_EQ(host.events.back(), "outcome");
    for (const char* name : {"orvaln7.tmp2", "orvaln7.tmp3", "orvaln7s.swf", "orvaln7c.swf", "orvaln7.htm"})
        EXPECT_FALSE(test::fileExists(out(name))) << name;
    EXPECT_EQ(savedNumber(), 8);
}

TEST_F(ConversionJobTest, AFailedAnimationLeavesNoPageOrController)
{
    stages.failAt = Step::Animation;
    run();
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Failed}));
    EXPECT_FALSE(test::fileExists(out("orvaln7c.swf")));
    EXPECT_FALSE(test::fileExists(out("orvaln7.htm")));
}

TEST_F(ConversionJobTest, CancelAtEachStageEndsQuietly)
{
    for (const Step step : {Step::Decode, Step::Encode, Step::Animation}) {
        stages.calls.clear();
        host.outcomes.clear();
        stages.cancelAt = step;
        const int number = settings.nextOutputNumber;
        const std::string base = "orvaln" + std::to_string(number);
        run();

        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(stages.calls.size(), static_cast<std::size_t>(step) + 1);
        EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Cancelled}));
        for (const char* suffix : {".tmp2", ".tmp3", "s.swf", ".htm"})
            EXPECT_FALSE(test::fileExists(out(base + suffix))) << base + suffix;
        EXPECT_EQ(savedNumber(), number + 1);
    }
}

TEST_F(ConversionJobTest, AMissingControllerStillSucceeds)
{
    settings.controllerName = "gone01100100";
    run();
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Succeeded}));
    EXPECT_FALSE(test::fileExists(out("orvaln7c.swf")));
    EXPECT_TRUE(test::fileExists(out("orvaln7.htm")));
}

TEST_F(ConversionJobTest, APageThatCannotBeWrittenFailsTheRun)
{
    std::filesystem::create_directory(out("orvaln7.htm"));
    messages.answers = {MessageAnswer::Yes};
    run();
    ASSERT_EQ(messages.shown.size(), 1u); // a folder named like the page does not count as a page
    EXPECT_EQ(messages.shown[0].text, "Error: Cannot create output file \"" + out("orvaln7.htm") + "\".");
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Failed}));
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "progress 100"), 0);
    EXPECT_EQ(savedNumber(), 8);
}

TEST_F(ConversionJobTest, AControllerThatCannotBeCopiedFailsTheRunBeforeThePage)
{
    std::filesystem::create_directory(out("orvaln7c.swf"));
    messages.answers = {MessageAnswer::Yes};
    run();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Error: Cannot create output file \"" + out("orvaln7c.swf") + "\".");
    EXPECT_EQ(host.outcomes, (std::vector<JobOutcome>{JobOutcome::Failed}));
    EXPECT_FALSE(test::fileExists(out("orvaln7.htm")));
}

TEST_F(ConversionJobTest, PrepareNamesTheOutputs)
{
    ConversionJob job({settings, context, status, parameters, messages, pump}, stages, host);
    for (const std::string folder : {"/srv/out", "/srv/out/"}) {
        settings.outputFolder = folder;
        job.prepare();
        EXPECT_EQ(job.outputDir(), "/srv/out/");
    }
    EXPECT_EQ(job.outputBase(), "orvaln7");
    EXPECT_EQ(job.controllerFileName(), "orvaln7c.swf");

    settings.outputToDesktop = true;
    settings.nextOutputNumber = 0;
    job.prepare();
    EXPECT_EQ(job.outputDir(), context.desktopFolder);
    EXPECT_EQ(job.outputBase(), "orvaln0");
    EXPECT_EQ(settings.outputFolder, "/srv/out/");
}

} // namespace
} // namespace orvalin
