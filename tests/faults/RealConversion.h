#pragma once

#include "FakePlatform.h"
#include "RecordingHost.h"
#include "TestFolder.h"
#include "job/JobStatus.h"
#include "job/ProgramContext.h"
#include "settings/ConversionSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalin::test {

// One conversion as the command line runs it, in process: the input check,
// then the job with the real stages and modules of a program folder, output
// number 1, into a folder of its own, with the parameters file beside it.
class RealConversion {
public:
    explicit RealConversion(std::string programFolder);

    // Settings of the run; the parameters file holds them before it starts.
    ConversionSettings settings;
    std::string outputText; // replaces the proposed text when not empty
    ScriptedPump pump;

    // What the run left behind.
    RecordingMessages messages;
    RecordingHost host;
    JobStatus status;
    bool inputAccepted = false;
    std::optional<int> exitStatus; // when the program had to end

    void run(const std::string& inputPath);

    std::string outputFolder() const { return folder_.file("out/"); }
    std::string output(const std::string& name) const { return outputFolder() + name; }
    const std::string& programFolder() const { return programFolder_; }
    std::string parametersPath() const { return folder_.file("orvaln.da0"); }
    // The parameters file's text before the run.
    const std::string& parametersBefore() const { return parametersBefore_; }

    std::optional<JobOutcome> outcome() const;
    std::vector<std::string> messageTexts() const;
    // Names of the files in the output folder and beside the parameters file.
    std::vector<std::string> leftovers() const;

private:
    TestFolder folder_;
    std::string programFolder_;
    std::string parametersBefore_;
};

// A 2.5-second tone, three animation blocks long, written into the folder as
// NAME.wav and as LAME's 128 kb/s NAME.mp3; false when LAME failed.
bool writeToneFiles(const TestFolder& folder, const std::string& name);

// What every run must leave, however it ended: no temporary, an animation
// only when it is complete, a page only after success, a controller copy
// only whole, and a whole parameters
// file with the number used up by every run that started.
void expectSoundAftermath(const RealConversion& run);

// A fresh program folder that links to the built one's files, so that tests
// can take a module away or replace it.
class ProgramFolderCopy {
public:
    explicit ProgramFolderCopy(const std::string& builtFolder);
    const std::string& path() const { return folder_.path(); }

private:
    TestFolder folder_;
};

} // namespace orvalin::test
