#include "job/ConversionJob.h"

#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/JobHost.h"
#include "job/OutputPublishing.h"
#include "job/RunOutputs.h"
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

void ConversionJob::prepare(std::optional<int> chosenNumber)
{
    outputDir_ = outputFolderFor(environment_.settings, environment_.context);
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
    environment_.pump.pumpMessages();
    environment_.status.stagePercent = 0;
    environment_.status.cancelRequested = false;
    stageIndex_ = Preparing;
    published_.clear();
    host_.beginProgress();
    const JobOutcome outcome = finishRun(convert());
    if (outcome == JobOutcome::Succeeded)
        host_.setProgress(100);
    return outcome;
}

JobOutcome ConversionJob::convert()
{
    if (const std::string problem = outputProblem(); !problem.empty())
        return failWith(problem);
    if (!overwriteConfirmed())
        return JobOutcome::Cancelled;
    if (const JobOutcome stream = makeStream(); stream != JobOutcome::Succeeded)
        return stream;
    // A page, player or controller copy that cannot be written fails the
    // run, which then leaves none of its outputs: never a success with one
    // missing.
    if (const JobOutcome page = makePageAndController(); page != JobOutcome::Succeeded)
        return page;
    return publish();
}

// Nothing of the run is written where it cannot be: without an output
// folder, over something other than a file, or over a ruffle of the user's.
std::string ConversionJob::outputProblem() const
{
    if (outputDir_.empty())
        return "No output folder is set. Choose one on the Output tab of the Options.";
    for (const auto& path : outputPaths())
        if (isSpecialEntry(path))
            return "Cannot write over \"" + path + "\": it is not a file.";
    if (environment_.settings.webPlayer)
        return webPlayerProblem(environment_.context.programFolder, outputDir_);
    return {};
}

bool ConversionJob::overwriteConfirmed()
{
    const auto question = overwriteQuestion(outputPaths());
    return !question || environment_.messages.askYesNo(*question);
}

JobOutcome ConversionJob::makeStream()
{
    const ConversionSettings& settings = environment_.settings;
    const ConversionInput& input = environment_.input;
    const std::string decodedPath = outputDir_ + names_->decodedTemporary();
    const std::string encodedPath = outputDir_ + names_->encodedTemporary();

    stageIndex_ = Decoding;
    if (!input.inputIsWav) {
        if (const JobOutcome decoded = stageOutcome(stages_.decode(input.inputPath, decodedPath));
            decoded != JobOutcome::Succeeded)
            return decoded;
    }

    stageIndex_ = Encoding;
    const auto channelMode = settings.channels == 1 ? Mp3ChannelMode::Mono : Mp3ChannelMode::Stereo;
    if (const JobOutcome encoded =
            stageOutcome(stages_.encode(input.inputIsWav ? input.inputPath : decodedPath, encodedPath,
                                        settings.bitrate, settings.sampleRate, channelMode));
        encoded != JobOutcome::Succeeded)
        return encoded;

    stageIndex_ = WritingAnimation;
    const JobOutcome written = stageOutcome(stages_.writeAnimation(encodedPath, unfinished(streamFileName())));
    if (written == JobOutcome::Succeeded)
        made_.push_back(streamFileName());
    return written;
}

JobOutcome ConversionJob::makePageAndController()
{
    const ConversionSettings& settings = environment_.settings;
    if (const auto source = controllerToCopy()) {
        if (!copyFile(*source, unfinished(controllerFileName())))
            return cannotCreate(outputDir_ + controllerFileName());
        made_.push_back(controllerFileName());
    }
    if (settings.webPlayer &&
        !placeWebPlayer(environment_.context.programFolder, outputDir_, environment_.messages))
        return JobOutcome::Failed;
    if (!WebPageWriter(settings, environment_.input.outputText).writePage(unfinished(pageFileName()), *names_))
        return cannotCreate(outputDir_ + pageFileName());
    made_.push_back(pageFileName());
    return JobOutcome::Succeeded;
}

// A missing controller leaves the run a success without the copy: the page
// still names it, and the user can add it by hand. A name that reaches
// outside the Controllers folders counts as missing. The user's own
// controller of the name wins over the shipped one.
std::optional<std::string> ConversionJob::controllerToCopy() const
{
    const std::string& name = environment_.settings.controllerName;
    if (environment_.settings.outputMode != OutputMode::Controller || !isPlainFileName(name))
        return std::nullopt;
    const std::string fileName = name + ".swf";
    const std::string source = controllerFolders(environment_.context).holding(fileName) + fileName;
    return fileIsReadable(source) ? std::optional(source) : std::nullopt;
}

JobOutcome ConversionJob::publish()
{
    if (const auto unwritten = publishOutputs(outputDir_, made_))
        return cannotCreate(*unwritten);
    published_ = made_;
    return JobOutcome::Succeeded;
}

JobOutcome ConversionJob::finishRun(JobOutcome outcome)
{
    host_.endProgress();
    if (!outputDir_.empty()) {
        removeFile(outputDir_ + names_->decodedTemporary());
        removeFile(outputDir_ + names_->encodedTemporary());
        for (const auto& name : made_)
            removeFile(unfinished(name));
    }
    made_.clear();
    host_.showOutcome(outcome);
    return outcome;
}

JobOutcome ConversionJob::stageOutcome(const StageResult& result)
{
    if (result.failed())
        return failWith(result.errorText);
    if (result.succeeded() && environment_.status.cancelRequested)
        return JobOutcome::Cancelled;
    return result.outcome;
}

JobOutcome ConversionJob::failWith(const std::string& message)
{
    host_.showError("Error: " + message);
    return JobOutcome::Failed;
}

JobOutcome ConversionJob::cannotCreate(const std::string& path)
{
    environment_.messages.warn("Error: Cannot create output file \"" + path + "\".");
    return JobOutcome::Failed;
}

std::vector<std::string> ConversionJob::outputPaths() const
{
    return outputPathsFor(environment_.settings, outputDir_, *names_);
}

std::string ConversionJob::unfinished(const std::string& outputName) const
{
    return outputDir_ + outputName + std::string(kUnfinishedSuffix);
}

} // namespace orvalin
