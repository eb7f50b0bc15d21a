#pragma once

#include "FakePlatform.h"
#include "TestFolder.h"
#include "common/ConversionInput.h"
#include "common/JobStatus.h"
#include "common/ProgramContext.h"
#include "settings/ParametersFile.h"

#include <filesystem>

namespace orvalin::test {

// A fresh program folder whose parameters file holds the live settings, and
// the context of a program started from it, with desktop/ as its desktop. The
// settings make output number 7, a controller page, in out/, at 128 kb/s,
// 44100 Hz, stereo. Messages are recorded; a fatal one throws ProcessExited.
struct ProgramFolderFixture {
    ProgramFolderFixture()
    {
        context.programFolder = folder.path();
        context.desktopFolder = folder.file("desktop/");
        std::filesystem::create_directories(context.desktopFolder);
        std::filesystem::create_directories(outputFolder());
        settings = {.outputFolder = outputFolder(), .outputMode = OutputMode::Controller,
                    .controllerName = "demo04200150", .instructionLetter = "c",
                    .backgroundColour = "FFFFFF", .textColour = "000000", .nextOutputNumber = 7,
                    .bitrate = 128, .sampleRate = 44100, .channels = 2};
        saveSettings();
    }

    std::string outputFolder() const { return folder.file("out/"); }
    std::string output(const std::string& name) const { return outputFolder() + name; }
    void saveSettings() { parameters.saveParameters(); }
    std::string parametersText() const { return readText(parameters.path()); }
    ConversionSettings savedSettings() const { return parseParameters(parametersText()); }
    // A file of some bytes in the folder, enough for the input check.
    std::string makeInput(const std::string& name) const
    {
        writeText(folder.file(name), std::string(300, 'x'));
        return folder.file(name);
    }

    TestFolder folder;
    ConversionSettings settings;
    ProgramContext context;
    ConversionInput input;
    JobStatus status;
    RecordingMessages messages;
    ThrowingProcessExit processExit;
    ParametersFile parameters{settings, folder.file(kParametersFileName), messages, processExit};
};

} // namespace orvalin::test
