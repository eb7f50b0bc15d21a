#include "job/ConversionJob.h"

#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/JobHost.h"
#include "job/StageRunner.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/MessagePump.h"
#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "web/ControllerCatalogue.h"
#include "web/WebPageWriter.h"
#include "web/WebPlayer.h"

#include <algorithm>
#include <vector>

namespace orvalin {

ConversionJob::ConversionJob(const JobEnvironment& environment, StageRunner& stages,
                             JobHost& host)
    : environment_(environment), stages_(stages), host_(host)
{
}

namespace {

// The outputs are written under their names plus this, and take their own
// names only once the run has made all of them whole.
constexpr const char* kUnfinishedSuffix = ".new";

} // namespace

void ConversionJob::prepare(std::optional<int> chosenNumber)
{
    const ConversionSettings& settings = environment_.settings;
    // An empty folder stays empty rather than becoming the root folder.
    outputDir_ = settings.outputToDesktop  ? environment_.context.desktopFolder
                 : settings.outputFolder.empty() ? std::string()
                                                 : withTrailingSeparator(settings.outputFolder);
    const int reserved = environment_.parameters.reserveOutputNumber();
    names_.emplace(chosenNumber.value_or(reserved));
}

std::string ConversionJob::pageFileName() const
{
    return names_->page();
}

std::string ConversionJob::streamFileName() const
{
    return names_->stream();
}

std::string ConversionJob::controllerFileName() const
{
    return names_->controller(environment_.settings.instructionLetter);
}

int ConversionJob::overallPercent() const
{
    return std::min((environment_.status.stagePercent + stageIndex_ * 100) / 4, 100);
}

JobOutcome ConversionJob::runJob()
{
    const ConversionSettings& settings = environment_.settings;
    const ConversionInput& input = environment_.input;
    JobStatus& status = environment_.status;

    environment_.pump.pumpMessages();
    status.stagePercent = 0;
    status.failed = false;
    status.cancelRequested = false;
    stageIndex_ = Preparing;
    published_.clear();
    host_.beginProgress();

    if (!outputsCanBeWritten())
        return finishRun();
    confirmOverwrite();
    if (status.cancelRequested)
        return finishRun();

    const std::string decodedPath = outputDir_ + names_->decodedTemporary();
    const std::string encodedPath = outputDir_ + names_->encodedTemporary();

    stageIndex_ = Decoding;
    if (!input.inputIsWav && stageEndedRun(stages_.decode(input.inputPath, decodedPath)))
        return finishRun();

    stageIndex_ = Encoding;
    const auto channelMode = settings.channels == 1 ? Mp3ChannelMode::Mono : Mp3ChannelMode::Stereo;
    if (stageEndedRun(stages_.encode(input.inputIsWav ? input.inputPath : decodedPath, encodedPath,
                                     settings.bitrate, settings.sampleRate, channelMode)))
        return finishRun();

    stageIndex_ = WritingAnimation;
    if (stageEndedRun(stages_.writeAnimation(encodedPath, unfinished(streamFileName()))))
        return finishRun();
    made_.push_back(streamFileName());

    if (settings.outputMode == OutputMode::Controller)
        copyController();
    // A page, player or controller copy that cannot be written fails the
    // run, which then leaves none of its outputs: never a success with one
    // missing.
    if (!status.failed)
        writePage();
    if (!status.failed)
        publishOutputs();
    const JobOutcome outcome = finishRun();
    if (!status.failed)
        host_.setProgress(100);
    return outcome;
}

bool ConversionJob::stageEndedRun(const StageResult& result)
{
    if (result.failed()) {
        environment_.status.fail(result.errorText);
        host_.showError("Error: " + result.errorText);
    }
    return !result.succeeded() || environment_.status.cancelRequested;
}

std::vector<std::string> ConversionJob::outputPaths() const
{
    std::vector<std::string> paths;
    if (environment_.settings.outputMode == OutputMode::Controller)
        paths.push_back(outputDir_ + controllerFileName());
    paths.push_back(outputDir_ + streamFileName());
    paths.push_back(outputDir_ + pageFileName());
    return paths;
}

std::string ConversionJob::unfinished(const std::string& outputName) const
{
    return outputDir_ + outputName + kUnfinishedSuffix;
}

bool ConversionJob::outputsCanBeWritten()
{
    std::string problem;
    if (outputDir_.empty()) {
        problem = "No output folder is set. Choose one on the Output tab of the Options.";
    } else {
        for (const auto& path : outputPaths())
            if (problem.empty() && isSpecialEntry(path))
                problem = "Cannot write over \"" + path + "\": it is not a file.";
        if (problem.empty() && environment_.settings.webPlayer)
            problem = webPlayerProblem(environment_.context.programFolder, outputDir_);
    }
    return !stageEndedRun(problem.empty() ? StageResult{} : StageResult::failure(problem));
}

void ConversionJob::confirmOverwrite()
{
    std::string list;
    int existing = 0;
    for (const auto& path : outputPaths()) {
        if (fileIsReadable(path)) {
            list += "\n" + path;
            ++existing;
        }
    }
    if (existing == 0)
        return;

    const std::string question = existing == 1 ? "Is it OK to overwrite this file:"
                                               : "Is it OK to overwrite these files:";
    if (!environment_.messages.askYesNo(question + list))
        environment_.status.cancelRequested = true;
}

void ConversionJob::copyController()
{
    // A missing controller leaves the run a success without the copy: the
    // page still names it, and the user can add it by hand. A name that
    // reaches outside the Controllers folders counts as missing. The user's
    // own controller of the name wins over the shipped one. A copy that
    // cannot be written is a failure.
    const std::string& name = environment_.settings.controllerName;
    if (!isPlainFileName(name))
        return;
    const std::string fileName = name + ".swf";
    const std::string source = controllerFolders(environment_.context).holding(fileName) + fileName;
    if (!fileIsReadable(source))
        return;
    if (copyFile(source, unfinished(controllerFileName())))
        made_.push_back(controllerFileName());
    else
        reportUnwritable(outputDir_ + controllerFileName());
}

void ConversionJob::writePage()
{
    const ConversionSettings& settings = environment_.settings;
    if (settings.webPlayer &&
        !placeWebPlayer(environment_.context.programFolder, outputDir_, environment_.messages)) {
        environment_.status.failed = true;
        return;
    }
    if (WebPageWriter(settings, environment_.input.outputText).writePage(unfinished(pageFileName()), *names_))
        made_.push_back(pageFileName());
    else
        reportUnwritable(outputDir_ + pageFileName());
}

void ConversionJob::reportUnwritable(const std::string& path)
{
    environment_.messages.warn("Error: Cannot create output file \"" + path + "\".");
    environment_.status.failed = true;
}

// Each output takes its name in one step. Should one fail to, those already
// in place are taken away again, so that the run leaves none of them.
void ConversionJob::publishOutputs()
{
    for (std::size_t i = 0; i < made_.size(); ++i) {
        const std::string path = outputDir_ + made_[i];
        if (replaceFile(unfinished(made_[i]), path))
            continue;
        reportUnwritable(path);
        for (std::size_t done = 0; done < i; ++done)
            removeFile(outputDir_ + made_[done]);
        return;
    }
    published_ = made_;
}

JobOutcome ConversionJob::finishRun()
{
    host_.endProgress();
    if (!outputDir_.empty()) {
        removeFile(outputDir_ + names_->decodedTemporary());
        removeFile(outputDir_ + names_->encodedTemporary());
        for (const auto& name : made_)
            removeFile(unfinished(name));
    }
    made_.clear();

    const JobStatus& status = environment_.status;
    const JobOutcome outcome = status.cancelRequested ? JobOutcome::Cancelled
                               : status.failed        ? JobOutcome::Failed
                                                      : JobOutcome::Succeeded;
    host_.showOutcome(outcome);
    return outcome;
}

} // namespace orvalin
