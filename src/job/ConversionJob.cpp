#include "job/ConversionJob.h"

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
#include "web/WebPageWriter.h"

#include <algorithm>
#include <vector>

namespace orvalin {

ConversionJob::ConversionJob(const JobEnvironment& environment, StageRunner& stages,
                             JobHost& host)
    : environment_(environment), stages_(stages), host_(host)
{
}

void ConversionJob::prepare()
{
    const ConversionSettings& settings = environment_.settings;
    outputDir_ = settings.outputToDesktop ? environment_.context.desktopFolder
                                          : withTrailingSeparator(settings.outputFolder);
    names_.emplace(settings.nextOutputNumber);
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
    const ProgramContext& context = environment_.context;
    JobStatus& status = environment_.status;

    environment_.pump.pumpMessages();
    status.stagePercent = 0;
    status.failed = false;
    status.cancelRequested = false;
    stageIndex_ = Preparing;
    host_.beginProgress();

    confirmOverwrite();
    if (status.cancelRequested)
        return finishRun();

    const std::string decodedPath = outputDir_ + names_->decodedTemporary();
    const std::string encodedPath = outputDir_ + names_->encodedTemporary();

    stageIndex_ = Decoding;
    if (!context.inputIsWav && stageEndedRun(stages_.decode(context.inputPath, decodedPath)))
        return finishRun();

    stageIndex_ = Encoding;
    const auto channelMode = settings.channels == 1 ? Mp3ChannelMode::Mono : Mp3ChannelMode::Stereo;
    if (stageEndedRun(stages_.encode(context.inputIsWav ? context.inputPath : decodedPath, encodedPath,
                                     settings.bitrate, settings.sampleRate, channelMode)))
        return finishRun();

    stageIndex_ = WritingAnimation;
    if (stageEndedRun(stages_.writeAnimation(encodedPath, outputDir_ + streamFileName(), kFrameRate,
                                             kLatencySeek)))
        return finishRun();

    if (settings.outputMode == OutputMode::Controller)
        copyController();
    // Each writer has told the user what it could not write; the run is then
    // a failure, never a success with a page or controller missing.
    if (!status.failed) {
        WebPageWriter page(settings, context, environment_.messages);
        status.failed = !page.writePage(outputDir_, *names_);
    }
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

void ConversionJob::confirmOverwrite()
{
    std::vector<std::string> candidates;
    if (environment_.settings.outputMode == OutputMode::Controller)
        candidates.push_back(outputDir_ + controllerFileName());
    candidates.push_back(outputDir_ + streamFileName());
    candidates.push_back(outputDir_ + pageFileName());

    std::string list;
    int existing = 0;
    for (const auto& path : candidates) {
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
    // page still names it, and the user can add it by hand. A copy that
    // cannot be written is a failure.
    const std::string source = environment_.context.programFolder + "Controllers" +
                               kPathSeparator + environment_.settings.controllerName + ".swf";
    if (!fileIsReadable(source))
        return;
    const std::string target = outputDir_ + controllerFileName();
    if (!copyFile(source, target)) {
        environment_.messages.warn("Error: Cannot create output file \"" + target + "\".");
        environment_.status.failed = true;
    }
}

JobOutcome ConversionJob::finishRun()
{
    host_.endProgress();
    removeFile(outputDir_ + names_->decodedTemporary());
    removeFile(outputDir_ + names_->encodedTemporary());

    // Every run uses up its number, whatever its outcome.
    environment_.parameters.advanceOutputNumber();

    const JobStatus& status = environment_.status;
    const JobOutcome outcome = status.cancelRequested ? JobOutcome::Cancelled
                               : status.failed        ? JobOutcome::Failed
                                                      : JobOutcome::Succeeded;
    host_.showOutcome(outcome);
    return outcome;
}

} // namespace orvalin
