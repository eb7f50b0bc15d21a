#pragma once

#include "FakePlatform.h"
#include "RecordingHost.h"
#include "SwfFile.h"
#include "TestAudio.h"
#include "TestFolder.h"
#include "audio/InputCheck.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/ConversionJob.h"
#include "job/DefaultStageRunner.h"
#include "settings/ParametersFile.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace orvalin::test {

inline const std::string kProgramFolder = ORVALIN_PROGRAM_DIR;

// One conversion as the command line runs it, in process: the input check,
// then the job with the real stages and modules of a program folder, output
// number 1, into a folder of its own, with the parameters file beside it.
struct RealConversion {
    explicit RealConversion(std::string programFolder = kProgramFolder) : program(std::move(programFolder))
    {
        std::filesystem::create_directory(output(""));
        settings = parseParameters(readText(program + kParametersFileName));
        settings.outputToDesktop = false;
        settings.outputFolder = output("");
        settings.outputMode = OutputMode::Controller;
        settings.nextOutputNumber = 1;
    }

    void run(const std::string& inputPath)
    {
        writeText(parametersPath(), formatParameters(settings));
        parametersBefore = readText(parametersPath());
        ThrowingProcessExit processExit;
        ConversionSettings saved;
        ParametersFile parameters(saved, parametersPath(), messages, processExit);
        const ProgramContext context{.programFolder = program, .desktopFolder = folder.path()};
        ConversionInput input{.inputPath = inputPath};
        try {
            parameters.loadParameters();
            inputAccepted = checkInput(input, messages);
            if (!inputAccepted)
                return;
            DefaultStageRunner stages(status, pump, program);
            ConversionJob job({saved, context, input, status, parameters, messages, pump}, stages, host);
            job.prepare();
            job.runJob();
        } catch (const ProcessExited& exited) {
            exitStatus = exited.status;
        }
    }

    std::string output(const std::string& name) const { return folder.file("out/" + name); }
    std::string parametersPath() const { return folder.file(kParametersFileName); }
    std::optional<JobOutcome> outcome() const
    {
        return host.outcomes.empty() ? std::nullopt : std::optional(host.outcomes.back());
    }
    std::vector<std::string> messageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : messages.shown)
            texts.push_back(shown.text);
        return texts;
    }
    SwfFile animation() const { return parseSwf(readBytes(output("orvaln1s.swf"))); }

    // The files in the output folder and beside the parameters file.
    std::vector<std::string> leftovers() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path()))
            if (!entry.is_directory())
                names.push_back(std::filesystem::relative(entry.path(), folder.path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // What every run must leave, however it ended: no temporary, outputs only
    // after success, a whole animation and controller copy, and a whole
    // parameters file with the number used up by every run that started.
    void expectCleanAftermath() const
    {
        for (const auto& name : leftovers()) {
            EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
            EXPECT_EQ(name.find(".new"), std::string::npos) << name;
        }
        if (fileExists(output("orvaln1s.swf"))) { // and whole: parseSwf throws on a broken one
            const SwfFile swf = animation();
            EXPECT_EQ(swf.declaredLength, swf.bytes.size());
            EXPECT_EQ(swf.tagsWithCode(swf::TagCode::ShowFrame).size(), static_cast<std::size_t>(swf.frameCount));
        }
        if (outcome() != JobOutcome::Succeeded && !exitStatus) {
            for (const auto& name : {"orvaln1.htm", "orvaln1s.swf", "orvaln1c.swf"})
                EXPECT_FALSE(fileExists(output(name))) << name;
        }
        if (fileExists(output("orvaln1c.swf"))) {
            EXPECT_EQ(readBytes(output("orvaln1c.swf")),
                      readBytes(program + "Controllers/" + settings.controllerName + ".swf"));
        }
        ConversionSettings expected = parseParameters(parametersBefore);
        if (!host.events.empty() && !exitStatus) // the job started
            expected.nextOutputNumber += 1;
        EXPECT_EQ(readText(parametersPath()), formatParameters(expected));
    }

    TestFolder folder;
    std::string program;
    ConversionSettings settings; // the parameters file holds them before the run
    ScriptedPump pump;
    RecordingMessages messages;
    RecordingHost host{&messages};
    JobStatus status;
    bool inputAccepted = false;
    std::optional<int> exitStatus; // when the program had to end
    std::string parametersBefore;
};

// A 2.5-second tone, three animation blocks long, written into the folder as
// NAME.wav and as LAME's 128 kb/s NAME.mp3; false when LAME failed.
inline bool writeToneFiles(const TestFolder& folder, const std::string& name)
{
    writeWav(folder.file(name + ".wav"), {.seconds = 2.5});
    return runCommand("lame --quiet -b 128 " + shellQuote(folder.file(name + ".wav")) + " " +
                      shellQuote(folder.file(name + ".mp3"))) == 0;
}

// Fills a fresh program folder with links to the built one's files, so that a
// test can take a module away or replace it.
inline void linkProgramFolder(const TestFolder& into)
{
    for (const auto& entry : std::filesystem::directory_iterator(kProgramFolder))
        std::filesystem::create_symlink(entry.path(), into.file(entry.path().filename().string()));
}

} // namespace orvalin::test
