#pragma once

#include "FakeStages.h"
#include "ProgramFolderFixture.h"
#include "ScriptedSystemDialogs.h"
#include "ui/DesktopServices.h"
#include "ui/LocalPageServer.h"
#include "ui/QtMessagePump.h"

namespace orvalin::test {

// Everything a window of the desktop program needs, in a fresh program
// folder: recording opener, scripted choosers and fake stages that pump
// through the real (throttled) message pump.
struct DesktopFixture : ProgramFolderFixture {
    DesktopServices services()
    {
        return {settings, context, input,      status,        parameters, messages, runMessages,
                pump,     opener,  pageServer, systemDialogs, stages};
    }

    // The run's own boxes; `messages` are the main window's.
    RecordingMessages runMessages;

    QtMessagePump pump;
    RecordingOpener opener;
    LocalPageServer pageServer;
    ScriptedSystemDialogs systemDialogs;
    FakeStages stages{status, pump};
};

} // namespace orvalin::test
