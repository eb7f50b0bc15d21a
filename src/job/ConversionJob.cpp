#include "job/ConversionJob.h"

#include "job/JobHost.h"
#include "job/JobStatus.h"
#include "job/ProgramContext.h"
#include "job/StageRunner.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "platform/MessagePump.h"
#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "web/WebPageWriter.h"

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
    outputBase_ = "orvaln" + std::to_string(settings.nextOutputNumber);
}

std::string ConversionJob::pageFileName() const
{
    return outputBase_ + ".htm";
}

std::string ConversionJob::streamFileName() const
{
    return outputBase_ + "s.swf";
}

std::string ConversionJob::controllerFileName() const
{
    return outputBase_ + environment_.settings.instructionLetter + ".swf";
}

std::string ConversionJob::outputPath(const std::string& suffix) const
{
    return outputDir_ + outputBase_ + suffix;
}

void ConversionJob::runJob()
{
    const ConversionSettings& settings = environment_.settings;
    const ProgramContext& context = environment_.context;
    JobStatus& status = environment_.status;

    pumpMessages();
    status.stagePercent = 0;
    status.failed = false;
    status.cancelRequested = false;
    stageIndex_ = Preparing;
    host_.beginProgress();

    confirmOverwrite();
    if (status.cancelRequested) {
        finishRun();
        return;
    }

    const std::string decodedPath = outputPath(".tmp2");
    const std::string encodedPath = outputPath(".tmp3");

    stageIndex_ = Decoding;
    if (!context.inputIsWav) {
        stages_.decode(context.inputPath, decodedPath);
        if (stageEndedRun())
            return;
    }

    stageIndex_ = Encoding;
    const int encoderMode = settings.channels == 1 ? 3 : 0;
    stages_.encode(context.inputIsWav ? context.inputPath : decodedPath, encodedPath,
                   settings.bitrate, settings.sampleRate, encoderMode);
    if (stageEndedRun())
        return;

    stageIndex_ = WritingAnimation;
    stages_.writeAnimation(encodedPath, outputDir_ + streamFileName(), kFrameRate, kLatencySeek);
    if (stageEndedRun())
        return;

    if (settings.outputMode == kControllerOutput)
        copyController();
    // Each writer has told the user what it could not write; the run is then
    // a failure, never a success with a page or controller missing.
    if (!status.failed) {
        WebPageWriter page(settings, context, environment_.messages);
        status.failed = !page.writePage(outputDir_, outputBase_);
    }
    finishRun();
    if (!status.failed)
        host_.setProgress(100);
}

bool ConversionJob::stageEndedRun()
{
    JobStatus& status = environment_.status;
    if (status.failed)
        environment_.messages.warn("Error: " + status.errorText, MessageOwner::MainWindow);
    if (!status.failed && !status.cancelRequested)
        return false;
    finishRun();
    return true;
}

void ConversionJob::confirmOverwrite()
{
    std::vector<std::string> candidates;
    if (environment_.settings.outputMode == kControllerOutput)
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
    if (!environment_.messages.askYesNo(question + list, MessageOwner::None))
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
        environment_.messages.warn("Error: Cannot create output file \"" + target + "\".",
                                   MessageOwner::None);
        environment_.status.failed = true;
    }
}

void ConversionJob::finishRun()
{
    host_.endProgress();
    removeFile(outputPath(".tmp2"));
    removeFile(outputPath(".tmp3"));

    // Every run uses up its number, whatever its outcome.
    environment_.parameters.advanceOutputNumber();

    const JobStatus& status = environment_.status;
    if (status.cancelRequested)
        host_.showOutcome(JobOutcome::Cancelled);
    else if (status.failed)
        host_.showOutcome(JobOutcome::Failed);
    else
        host_.showOutcome(JobOutcome::Succeeded);
}

void ConversionJob::pumpMessages()
{
    environment_.pump.pumpMessages();
}

} // namespace orvalin
