#pragma once

#include <string>

namespace orvalin {

struct ConversionSettings;
struct ProgramContext;
struct JobStatus;
class ParametersFile;
class MessageBoxes;
class MessagePump;
class StageRunner;
class JobHost;

// The process-wide records and the user-interface services a run uses.
// The run reads settings; the output number it uses up is advanced in the
// settings the parameters file keeps, which the desktop program runs with
// and the command line overlays with its options.
struct JobEnvironment {
    const ConversionSettings& settings;
    ProgramContext& context;
    JobStatus& status;
    ParametersFile& parameters;
    MessageBoxes& messages;
    MessagePump& pump;
};

// One conversion run: names the outputs, asks before overwriting, drives the
// stages in order, writes the page and settles the output number, whatever
// the outcome.
class ConversionJob {
public:
    static constexpr float kFrameRate = 1.0f;
    static constexpr int kLatencySeek = 1680;

    // What stageIndex() reports while the run is in that step.
    enum Stage { Preparing = 0, Decoding = 1, Encoding = 2, WritingAnimation = 3 };

    ConversionJob(const JobEnvironment& environment, StageRunner& stages, JobHost& host);

    // Fixes outputDir and outputBase from the settings as they are now.
    void prepare();
    // The whole run; returns when it is over.
    void runJob();

    const std::string& outputDir() const { return outputDir_; }
    const std::string& outputBase() const { return outputBase_; }
    int stageIndex() const { return stageIndex_; }

    std::string pageFileName() const;
    std::string streamFileName() const;
    std::string controllerFileName() const;

private:
    void confirmOverwrite();
    void copyController();
    void finishRun();
    void pumpMessages();
    // Shows a stage's failure; true when the run must stop here.
    bool stageEndedRun();

    std::string outputPath(const std::string& suffix) const;

    JobEnvironment environment_;
    StageRunner& stages_;
    JobHost& host_;
    std::string outputDir_;
    std::string outputBase_;
    int stageIndex_ = Preparing;
};

} // namespace orvalin
