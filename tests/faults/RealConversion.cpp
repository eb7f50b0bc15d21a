#include "RealConversion.h"

#include "audio/InputCheck.h"
#include "job/ConversionJob.h"
#include "job/DefaultStageRunner.h"
#include "SwfFile.h"
#include "TestAudio.h"
#include "settings/ParametersFile.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace orvalin::test {

namespace fs = std::filesystem;

RealConversion::RealConversion(std::string programFolder) : programFolder_(std::move(programFolder))
{
    fs::create_directory(outputFolder());
    settings = parseParameters(readText(programFolder_ + kParametersFileName));
    settings.outputToDesktop = false;
    settings.outputFolder = outputFolder();
    settings.outputMode = kControllerOutput;
    settings.nextOutputNumber = 1;
}

void RealConversion::run(const std::string& inputPath)
{
    writeText(parametersPath(), formatParameters(settings));
    parametersBefore_ = readText(parametersPath());

    ThrowingProcessExit processExit;
    ConversionSettings saved;
    ParametersFile parameters(saved, parametersPath(), messages, processExit);
    ProgramContext context;
    context.programFolder = programFolder_;
    context.desktopFolder = folder_.path();
    context.inputPath = inputPath;
    try {
        parameters.loadParameters();
        inputAccepted = checkInput(context, messages);
        if (!inputAccepted)
            return;
        if (!outputText.empty())
            context.outputText = outputText;
        const ConversionSettings settingsOfRun = saved;
        DefaultStageRunner stages(status, pump, programFolder_);
        ConversionJob job({settingsOfRun, context, status, parameters, messages, pump}, stages, host);
        job.prepare();
        job.runJob();
    } catch (const ProcessExited& exited) {
        exitStatus = exited.status;
    }
}

std::optional<JobOutcome> RealConversion::outcome() const
{
    if (host.outcomes.empty())
        return std::nullopt;
    return host.outcomes.back();
}

std::vector<std::string> RealConversion::messageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& shown : messages.shown)
        texts.push_back(shown.text);
    return texts;
}

std::vector<std::string> RealConversion::leftovers() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_.path()))
        if (entry.path().filename() != "out")
            names.push_back(entry.path().filename().string());
    for (const auto& entry : fs::directory_iterator(outputFolder()))
        names.push_back("out/" + entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool writeToneFiles(const TestFolder& folder, const std::string& name)
{
    TestTone tone;
    tone.seconds = 2.5;
    writeWav(folder.file(name + ".wav"), tone);
    return runCommand("lame --quiet -b 128 " + shellQuote(folder.file(name + ".wav")) + " " +
                      shellQuote(folder.file(name + ".mp3"))) == 0;
}

void expectSoundAftermath(const RealConversion& run)
{
    for (const auto& name : run.leftovers()) {
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
        EXPECT_EQ(name.find(".new"), std::string::npos) << name;
    }

    const std::string swfPath = run.output("orvaln1s.swf");
    if (fileExists(swfPath)) {
        const auto bytes = readBytes(swfPath);
        try {
            const SwfFile swf = parseSwf(bytes);
            EXPECT_EQ(swf.declaredLength, bytes.size());
            EXPECT_EQ(swf.tagsWithCode(kShowFrameTag).size(), static_cast<std::size_t>(swf.frameCount));
        } catch (const std::exception& error) {
            ADD_FAILURE() << "a broken animation was left: " << error.what();
        }
    }
    const bool succeeded = run.outcome() == JobOutcome::Succeeded || run.exitStatus;
    if (!succeeded) {
        EXPECT_FALSE(fileExists(run.output("orvaln1.htm")));
    }
    const std::string copyPath = run.output("orvaln1c.swf");
    if (fileExists(copyPath)) {
        EXPECT_EQ(readBytes(copyPath),
                  readBytes(run.programFolder() + "Controllers/" + run.settings.controllerName + ".swf"));
    }

    ConversionSettings expected = parseParameters(run.parametersBefore());
    const bool jobStarted = !run.host.events.empty();
    if (jobStarted && !run.exitStatus)
        expected.nextOutputNumber += 1;
    EXPECT_EQ(readText(run.parametersPath()), formatParameters(expected));
}

ProgramFolderCopy::ProgramFolderCopy(const std::string& builtFolder)
{
    for (const auto& entry : fs::directory_iterator(builtFolder))
        fs::create_symlink(entry.path(), folder_.file(entry.path().filename().string()));
}

} // namespace orvalin::test
