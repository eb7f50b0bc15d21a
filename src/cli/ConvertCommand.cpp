#include "cli/ConvertCommand.h"

#include "audio/InputCheck.h"
#include "cli/CommandLine.h"
#include "cli/ConsoleMessages.h"
#include "cli/ConsoleProgress.h"
#include "cli/ParallelConversions.h"
#include "cli/ProgressBars.h"
#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "job/ConversionJob.h"
#include "job/DefaultStageRunner.h"
#include "job/RunOutputs.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/ProcessExit.h"
#include "settings/ParametersFile.h"

#include <iostream>
#include <unistd.h>

namespace orvalin {
namespace {

// What the runs of one command share.
struct Invocation {
    const ConvertOptions& options;
    const ConversionSettings& settings; // the saved ones with the options laid over them
    ParametersFile& parameters;
    ConsoleMessages& messages;
    ProgramContext context;
    ConversionInput input;
};

// The input check: a refused input is reported, and uses no output number.
bool acceptInput(Invocation& invocation, const std::string& input)
{
    invocation.input.inputPath = input;
    if (!checkInput(invocation.input, invocation.messages))
        return false;
    if (invocation.options.text)
        invocation.input.outputText = *invocation.options.text;
    return true;
}

// The run of an accepted input, from its output number to the names of the
// files it made.
class AcceptedRun {
public:
    AcceptedRun(Invocation& invocation, ProgressView* view)
        : invocation_(invocation),
          progress_(status_, view),
          stages_(status_, progress_, invocation.context.programFolder),
          job_({invocation.settings, invocation.context, invocation.input, status_, invocation.parameters,
                invocation.messages, progress_},
               stages_, progress_)
    {
        progress_.follow(job_);
    }

    void takeNumber(std::optional<int> chosenNumber) { job_.prepare(chosenNumber); }

    // The input's exit status.
    int run()
    {
        const JobOutcome outcome = job_.runJob();
        if (outcome == JobOutcome::Succeeded && !invocation_.options.quiet)
            printOutputs();
        return outcome == JobOutcome::Succeeded ? kAllConverted
               : outcome == JobOutcome::Failed  ? kConversionFailed
                                                : kCancelled;
    }

private:
    void printOutputs() const
    {
        std::cout << job_.outputDir() + job_.pageFileName() << '\n'
                  << job_.outputDir() + job_.streamFileName() << '\n';
        const std::string controller = job_.outputDir() + job_.controllerFileName();
        if (invocation_.settings.outputMode == OutputMode::Controller && fileIsReadable(controller))
            std::cout << controller << '\n';
        std::cout << std::flush;
    }

    Invocation& invocation_;
    JobStatus status_;
    ConsoleProgress progress_;
    DefaultStageRunner stages_;
    ConversionJob job_;
};

int convertInTurn(Invocation& invocation, ProgressView* view)
{
    std::optional<int> chosenNumber = invocation.options.number;
    int status = kAllConverted;
    for (const auto& input : invocation.options.inputs) {
        if (interruptRequested())
            break;
        if (!acceptInput(invocation, input)) {
            status = worseExitStatus(status, kConversionFailed);
            continue;
        }
        AcceptedRun run(invocation, view);
        run.takeNumber(chosenNumber);
        status = worseExitStatus(status, run.run());
        if (chosenNumber)
            chosenNumber = nextOutputNumberAfter(*chosenNumber);
    }
    return interruptRequested() ? kCancelled : status;
}

// One input of several converted at once, in a child process.
int convertInChild(Invocation& invocation, const std::string& input, std::optional<int> chosenNumber,
                   RunReporter& reporter)
{
    if (!acceptInput(invocation, input))
        return kConversionFailed;
    reporter.send({RunReport::Accepted});
    AcceptedRun run(invocation, &reporter);
    run.takeNumber(chosenNumber);
    reporter.send({RunReport::Reserved});
    return run.run();
}

// Refused inputs are reported by the runs themselves.
class Unshown final : public MessageBoxes {
public:
    MessageAnswer show(std::string_view, MessageIcon, MessageButtons) override { return MessageAnswer::No; }
};

// Runs in child processes have no terminal to ask on, so their overwrite
// questions are asked here, as one, before any run starts: each for the
// number its run will take, in input order, and each child then finds its
// question answered. A run whose number turns out otherwise, as when another
// program took one meanwhile, asks its own question, which the child answers
// No.
void askOverwritesBeforehand(Invocation& invocation)
{
    const ConversionSettings& settings = invocation.settings;
    const std::string folder = outputFolderFor(settings, invocation.context);
    int number = invocation.options.number.value_or(settings.nextOutputNumber);
    std::vector<std::string> questions;
    std::vector<std::string> paths;
    for (const auto& inputPath : invocation.options.inputs) {
        ConversionInput input;
        input.inputPath = inputPath;
        Unshown unshown;
        if (!checkInput(input, unshown))
            continue;
        const auto runPaths = outputPathsFor(settings, folder, OutputNames(number));
        if (const auto question = overwriteQuestion(runPaths)) {
            questions.push_back(*question);
            paths.insert(paths.end(), runPaths.begin(), runPaths.end());
        }
        number = nextOutputNumberAfter(number);
    }
    if (questions.empty())
        return;
    const bool yes = invocation.messages.askYesNo(*overwriteQuestion(paths));
    for (auto& question : questions)
        invocation.messages.answerBeforehand(std::move(question), yes);
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

    ConversionSettings settings = saved;
    const auto problems = applyOptions(options, settings);
    for (const auto& problem : problems)
        std::cerr << "Error: " << problem << '\n';
    if (!problems.empty())
        return kBadUsage;

    Invocation invocation{options, settings, parameters, messages, {}, {}};
    invocation.context.programFolder = programFolder;
    invocation.context.desktopFolder = desktopFolder();
    invocation.context.userDataFolder = userDataFolder();

    watchForInterrupt();
    const bool showProgress = !options.quiet && isatty(STDERR_FILENO);
    if (options.jobs == 1 || options.inputs.size() == 1) {
        TerminalBar bar;
        return convertInTurn(invocation, showProgress ? &bar : nullptr);
    }
    askOverwritesBeforehand(invocation);
    ParallelConversions parallel(options.jobs, showProgress,
                                 [&](const std::string& input, std::optional<int> chosenNumber, RunReporter& reporter) {
                                     return convertInChild(invocation, input, chosenNumber, reporter);
                                 });
    return parallel.convert(options.inputs, options.number);
}

} // namespace orvalin
