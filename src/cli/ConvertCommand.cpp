#include "cli/ConvertCommand.h"

#include "audio/InputCheck.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleProgress.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/ConversionJob.h"
#include "job/DefaultStageRunner.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/ProcessExit.h"
#include "settings/ParametersFile.h"

#include <iostream>
#include <unistd.h>

namespace orvalin {
namespace {

void printOutputs(const ConversionJob& job, const ConversionSettings& settings)
{
    std::cout << job.outputDir() + job.pageFileName() << '\n'
              << job.outputDir() + job.streamFileName() << '\n';
    const std::string controller = job.outputDir() + job.controllerFileName();
    if (settings.outputMode == OutputMode::Controller && fileIsReadable(controller))
        std::cout << controller << '\n';
    std::cout << std::flush;
}

} // namespace

int runConvertCommand(const ConvertOptions& options, const std::string& programFolder)
{
    ConsoleMessages messages(options.assumeYes);
    SystemProcessExit processExit;
    ConversionSettings saved;
    ParametersFile parameters(saved, options.settingsPath.value_or(programFolder + kParametersFileName),
                              messages, processExit);
    parameters.loadParameters();

    ConversionSettings checked = saved;
    const auto problems = applyOptions(options, checked);
    for (const auto& problem : problems)
        std::cerr << "Error: " << problem << '\n';
    if (!problems.empty())
        return kBadUsage;

    ProgramContext context;
    context.programFolder = programFolder;
    context.desktopFolder = desktopFolder();

    watchForInterrupt();
    const bool showBar = !options.quiet && isatty(STDERR_FILENO);
    int nextNumber = options.number.value_or(0);
    bool anyFailed = false;
    for (const auto& input : options.inputs) {
        if (interruptRequested())
            return kCancelled;

        context.inputPath = input;
        if (!checkInput(context, messages)) {
            anyFailed = true; // a refused input uses no output number
            continue;
        }
        if (options.text)
            context.outputText = *options.text;

        ConversionSettings run = saved;
        applyOptions(options, run);

        JobStatus status;
        ConsoleProgress progress(status, showBar);
        DefaultStageRunner stages(status, progress, programFolder);
        ConversionJob job({run, context, status, parameters, messages, progress}, stages, progress);
        progress.follow(job);
        job.prepare(options.number ? std::optional(nextNumber) : std::nullopt);
        nextNumber = nextOutputNumberAfter(nextNumber);
        const JobOutcome outcome = job.runJob();

        if (interruptRequested())
            return kCancelled;
        if (outcome == JobOutcome::Failed)
            anyFailed = true;
        else if (outcome == JobOutcome::Succeeded && !options.quiet)
            printOutputs(job, run);
    }
    if (anyFailed)
        return kConversionFailed;
    return messages.declined() ? kCancelled : kAllConverted;
}

} // namespace orvalin
