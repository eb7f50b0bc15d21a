#pragma once

#include "common/OutputNames.h"
#include "common/StageResult.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalin {

struct ConversionSettings;
struct ConversionInput;
struct ProgramContext;
struct JobStatus;
class ParametersFile;
class MessageBoxes;
class MessagePump;
class StageRunner;
class JobHost;

// The process-wide records and the user-interface services a run uses.
// The run reads settings, which the desktop program takes from the
// parameters file and the command line overlays with its options, and
// reserves its output number through the parameters file.
struct JobEnvironment {
    const ConversionSettings& settings;
    const ProgramContext& context;
    const ConversionInput& input;
    JobStatus& status;
    ParametersFile& parameters;
    MessageBoxes& messages;
    MessagePump& pump;
};

// One conversion run: reserves its output number, names the outputs, asks
// before overwriting, drives the stages in order and writes the page.
class ConversionJob {
public:
    // What stageIndex() reports while the run is in that step.
    enum Stage { Preparing = 0, Decoding = 1, Encoding = 2, WritingAnimation = 3 };

    ConversionJob(const JobEnvironment& environment, StageRunner& stages, JobHost& host);

    // Fixes the output folder from the settings as they are now, and the names
    // from the chosen output number, else the next one on file. Either way the
    // number on file moves on by one, so the run uses up a number whatever
    // its outcome; a parameters file that cannot take it ends the program
    // here, before any file of the run is touched.
    void prepare(std::optional<int> chosenNumber = std::nullopt);
    // The whole run; returns how it ended, once it is over.
    JobOutcome runJob();

    const std::string& outputDir() const { return outputDir_; }
    int stageIndex() const { return stageIndex_; }
    // The whole run's progress: each step is a quarter of the bar.
    int overallPercent() const;

    // The files a run that succeeded made, by name, the page last.
    const std::vector<std::string>& outputNames() const { return published_; }
    std::string pageFileName() const;
    std::string streamFileName() const;
    std::string controllerFileName() const;

private:
    // The steps of a run, in order, each ending the run when it does not
    // succeed; every failure has been shown to the user when they return.
    JobOutcome convert();
    // Why the outputs cannot be written; empty when they can.
    std::string outputProblem() const;
    bool overwriteConfirmed();
    JobOutcome makeStream();
    JobOutcome makePageAndController();
    // The chosen controller's file, when the run copies one.
    std::optional<std::string> controllerToCopy() const;
    JobOutcome publish();
    JobOutcome finishRun(JobOutcome outcome);

    // How a stage ended, after showing its failure.
    JobOutcome stageOutcome(const StageResult& result);
    // Shows a failure of the run's own, as a stage's is shown.
    JobOutcome failWith(const std::string& message);
    JobOutcome cannotCreate(const std::string& path);
    // The outputs' final paths: controller copy, animation, page.
    std::vector<std::string> outputPaths() const;
    // Where an output is written until the run has made all of them.
    std::string unfinished(const std::string& outputName) const;

    JobEnvironment environment_;
    StageRunner& stages_;
    JobHost& host_;
    std::string outputDir_;
    std::optional<OutputNames> names_;
    std::vector<std::string> made_; // outputs written whole, in publishing order
    std::vector<std::string> published_;
    int stageIndex_ = Preparing;
};

} // namespace orvalin
