#include "job/ConversionJob.h"

#include "FakeStages.h"
#include "ProgramFolderFixture.h"
#include "RecordingHost.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace orvalin {
namespace {

using Texts = std::vector<std::string>;
using Outcomes = std::vector<JobOutcome>;

class ConversionJobTest : public ::testing::Test, protected test::ProgramFolderFixture {
protected:
    ConversionJobTest()
    {
        std::filesystem::create_directories(folder.file("Controllers"));
        test::writeText(folder.file("Controllers/demo04200150.swf"), "controller bytes");
        input.inputPath = makeInput("in.mp3");
    }

    void run()
    {
        messages.shown.clear();
        stages.ran.clear();
        host = test::RecordingHost();
        ConversionJob job({settings, context, input, status, parameters, messages, pump}, stages, host);
        job.prepare();
        const JobOutcome outcome = job.runJob();
        EXPECT_EQ(Outcomes{outcome}, host.outcomes);
    }

    std::string out(const std::string& name) const { return output(name); }

    test::ScriptedPump pump;
    test::FakeStages stages{status, pump};
    test::RecordingHost host;
};

TEST_F(ConversionJobTest, RunsTheStagesInOrderAndSettlesTheRun)
{
    settings.outputFolder.pop_back(); // the job adds the separator
    run();
    EXPECT_EQ(stages.calls, (Texts{"decode " + input.inputPath + " -> " + out("orvaln7.tmp2"),
                                   "encode " + out("orvaln7.tmp2") + " -> " + out("orvaln7.tmp3") + " 128 44100 0",
                                   "animation " + out("orvaln7.tmp3") + " -> " + out("orvaln7s.swf.new")}));
    EXPECT_EQ(host.events, (Texts{"begin", "end", "outcome", "progress 100"}));
    EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Succeeded});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(test::readText(out("orvaln7c.swf")), "controller bytes");
    EXPECT_NE(test::readText(out("orvaln7.htm")).find("value=\"orvaln7c.swf\""), std::string::npos);
    EXPECT_FALSE(test::fileExists(out("orvaln7.tmp2")) || test::fileExists(out("orvaln7.tmp3")));
    EXPECT_EQ(settings.nextOutputNumber, 8);
    EXPECT_EQ(savedSettings().nextOutputNumber, 8);
}

TEST_F(ConversionJobTest, AWavInputIsEncodedDirectlyAndBareOutputHasNoControllerCopy)
{
    input.inputIsWav = true;
    input.inputPath = makeInput("take.WAV");
    settings.outputMode = OutputMode::BareLooping;
    std::tie(settings.bitrate, settings.sampleRate, settings.channels) = std::tuple(96, 22050, 1);
    run();
    EXPECT_EQ(stages.calls[0], "encode " + input.inputPath + " -> " + out("orvaln7.tmp3") + " 96 22050 3");
    EXPECT_EQ(stages.ran, (Texts{"encode", "animation"}));
    EXPECT_FALSE(test::fileExists(out("orvaln7c.swf")));
    EXPECT_NE(test::readText(out("orvaln7.htm")).find("value=\"orvaln7s.swf\""), std::string::npos);
    EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Succeeded});

    // Nor is a controller file asked about or replaced; here on the desktop.
    settings.outputMode = OutputMode::BareOnce;
    settings.outputToDesktop = true;
    test::writeText(context.desktopFolder + "orvaln8c.swf", "someone else's");
    run();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(test::readText(context.desktopFolder + "orvaln8c.swf"), "someone else's");
    EXPECT_TRUE(test::fileExists(context.desktopFolder + "orvaln8.htm"));
}

TEST_F(ConversionJobTest, AsksBeforeOverwriting)
{
    test::writeText(out("orvaln7.htm"), "earlier run");
    messages.answers = {MessageAnswer::Yes};
    run();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Is it OK to overwrite this file:\n" + out("orvaln7.htm"));
    EXPECT_EQ(std::tuple(messages.shown[0].icon, messages.shown[0].buttons),
              std::tuple(MessageIcon::Question, MessageButtons::YesNo));
    EXPECT_NE(test::readText(out("orvaln7.htm")), "earlier run");

    const Texts files = {out("orvaln8c.swf"), out("orvaln8s.swf"), out("orvaln8.htm")};
    for (const auto& path : files)
        test::writeText(path, "earlier run");
    pump.count = 0;
    run();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "Is it OK to overwrite these files:\n" + files[0] + "\n" + files[1] + "\n" + files[2]);
    EXPECT_TRUE(stages.ran.empty());
    EXPECT_EQ(pump.count, 1); // the job's own, before it asks
    for (const auto& path : files)
        EXPECT_EQ(test::readText(path), "earlier run") << path;
    EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Cancelled});
    EXPECT_EQ(savedSettings().nextOutputNumber, 9);
}

TEST_F(ConversionJobTest, AFailedOrCancelledStageEndsTheRun)
{
    for (const std::string stage : {"decode", "encode", "animation"}) {
        for (const bool cancel : {false, true}) {
            SCOPED_TRACE(stage + (cancel ? " cancelled" : " failed"));
            stages.failingStage = cancel ? "" : stage;
            stages.onStep = [&](const std::string& at) { status.cancelRequested = cancel && at == stage; };
            run();
            EXPECT_EQ(stages.ran.back(), stage);
            EXPECT_EQ(host.outcomes, Outcomes{cancel ? JobOutcome::Cancelled : JobOutcome::Failed});
            // A failure reaches the user through the host, before the run ends.
            const Texts tail(host.events.end() - 3, host.events.end());
            EXPECT_EQ(tail, (Texts{cancel ? tail[0] : "Error: Cannot encode in LAME encoder.", "end", "outcome"}));
            EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "Error: Cannot encode in LAME encoder."),
                      cancel ? 0 : 1);
            EXPECT_TRUE(messages.shown.empty());
        }
    }
}

// A missing controller leaves the run a success, as does a name that would
// reach outside the Controllers folder; a copy, player or page that cannot be
// written fails it, and the run then leaves none of its outputs.
TEST_F(ConversionJobTest, TheControllerAndPageDecideTheOutcome)
{
    for (const std::string name : {"gone01100100", "../Controllers/demo04200150"}) {
        settings.controllerName = name;
        run();
        EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Succeeded});
    }
    EXPECT_FALSE(test::fileExists(out("orvaln7c.swf")) || test::fileExists(out("orvaln8c.swf")));
    EXPECT_TRUE(test::fileExists(out("orvaln8.htm")));

    settings.controllerName = "demo04200150";
    for (const std::string name : {"orvaln9c.swf", "orvaln10.htm"}) {
        std::filesystem::create_directory(out(name + ".new"));
        run();
        EXPECT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown.at(0).text, "Error: Cannot create output file \"" + out(name) + "\".");
        EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Failed});
        EXPECT_EQ(host.events.back(), "outcome"); // no progress 100
    }
    settings.webPlayer = true; // this program folder has no player to copy
    run();
    EXPECT_EQ(messages.shown.at(0).text, "Error: Cannot copy the web player into folder \"" + out("ruffle/") + "\".");
    EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Failed});
    for (const std::string name : {"orvaln9s.swf", "orvaln9.htm", "orvaln10s.swf", "orvaln10c.swf", "orvaln11s.swf",
                                   "orvaln11.htm", "ruffle"})
        EXPECT_FALSE(std::filesystem::exists(out(name))) << name;
    EXPECT_EQ(savedSettings().nextOutputNumber, 12);

    // A ruffle of the user's own stops the run before any stage, untouched.
    std::filesystem::create_directory(out("ruffle"));
    test::writeText(out("ruffle/thesis.txt"), "my thesis");
    run();
    EXPECT_EQ(host.events.at(1), "Error: Cannot put the web player beside the page: \"" + out("ruffle") +
                                     "\" is there and is not a copy of the player. It is left as it is.");
    EXPECT_TRUE(stages.ran.empty());
    EXPECT_EQ(test::readText(out("ruffle/thesis.txt")), "my thesis");
    EXPECT_FALSE(std::filesystem::exists(out("orvaln12.htm")));
}

TEST_F(ConversionJobTest, TheUsersOwnControllerWinsOverTheShippedOne)
{
    context.userDataFolder = folder.file("user/");
    std::filesystem::create_directories(folder.file("user/Controllers"));
    test::writeText(folder.file("user/Controllers/demo04200150.swf"), "the user's");
    run();
    EXPECT_EQ(test::readText(out("orvaln7c.swf")), "the user's");
}

// Names in the output folder that someone else controls: links are replaced,
// never written through, and anything but a file, or no folder at all, fails
// the run before it starts.
TEST_F(ConversionJobTest, OutputsNeverGoThroughWhatHoldsTheirNames)
{
    test::writeText(folder.file("victim"), "keep");
    std::filesystem::create_symlink(folder.file("victim"), out("orvaln7s.swf"));
    std::filesystem::create_symlink(folder.file("nowhere"), out("orvaln7.htm"));
    messages.answers = {MessageAnswer::Yes};
    run();
    EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Succeeded});
    EXPECT_EQ(test::readText(folder.file("victim")), "keep");
    EXPECT_FALSE(test::fileExists(folder.file("nowhere")));
    EXPECT_FALSE(std::filesystem::is_symlink(out("orvaln7s.swf")) || std::filesystem::is_symlink(out("orvaln7.htm")));

    ASSERT_EQ(mkfifo(out("orvaln8.htm").c_str(), 0600), 0);
    std::filesystem::create_directory(out("orvaln9s.swf"));
    const std::string emptyFolder = settings.outputFolder;
    for (const std::string& problem : {out("orvaln8.htm"), out("orvaln9s.swf"), emptyFolder}) {
        if (problem == emptyFolder)
            settings.outputFolder.clear();
        run();
        EXPECT_EQ(host.outcomes, Outcomes{JobOutcome::Failed});
        EXPECT_TRUE(stages.ran.empty());
        EXPECT_EQ(host.events.at(1), problem == emptyFolder
                                         ? "Error: No output folder is set. Choose one on the Output tab of the Options."
                                         : "Error: Cannot write over \"" + problem + "\": it is not a file.");
    }
    EXPECT_EQ(savedSettings().nextOutputNumber, 11);
}

} // namespace
} // namespace orvalin
