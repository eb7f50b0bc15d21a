#pragma once

#include "FakePlatform.h"
#include "FakeStages.h"
#include "ScriptedSystemDialogs.h"
#include "TestFolder.h"
#include "job/JobStatus.h"
#include "job/ProgramContext.h"
#include "settings/ConversionSettings.h"
#include "settings/ParametersFile.h"
#include "ui/DesktopServices.h"
#include "ui/QtMessagePump.h"

namespace orvalin::test {

// Everything a window of the desktop program needs, in a fresh folder: the
// program folder with a parameters file, an output folder, recording message
// boxes and opener, scripted choosers and fake stages that pump through the
// real (throttled) message pump.
struct DesktopFixture {
    DesktopFixture();

    DesktopServices services();
    // Writes the live settings to the parameters file, as a saved state to
    // compare against.
    void saveSettings() { parameters.saveParameters(); }
    std::string parametersText() const { return readText(parameters.path()); }
    std::string outputFolder() const { return folder.path() + "out/"; }
    // A file with some bytes, enough for the input check.
    std::string makeInput(const std::string& name) const;

    TestFolder folder;
    ConversionSettings settings;
    ProgramContext context;
    JobStatus status;
    RecordingMessages messages;
    ThrowingProcessExit processExit;
    ParametersFile parameters;
    QtMessagePump pump;
    RecordingOpener opener;
    ScriptedSystemDialogs systemDialogs;
    FakeStages stages;
};

} // namespace orvalin::test
