#pragma once

#include "job/ConversionJob.h"

namespace orvalin {

struct ConversionSettings;
struct ConversionInput;
struct ProgramContext;
struct JobStatus;
class ParametersFile;
class MessageBoxes;
class MessagePump;
class DocumentOpener;
class LocalPageServer;
class SystemDialogs;
class StageRunner;

// The process-wide records and the services the windows of the desktop
// program work with; the program's start-up makes them, the tests fake them.
struct DesktopServices {
    ConversionSettings& settings;
    const ProgramContext& context;
    ConversionInput& input;
    JobStatus& status;
    ParametersFile& parameters;
    MessageBoxes& messages;    // over the main window
    MessageBoxes& runMessages; // a run's questions and file errors, on their own
    MessagePump& pump;
    DocumentOpener& opener;
    LocalPageServer& pageServer; // for pages that load the web player
    SystemDialogs& systemDialogs;
    StageRunner& stages;

    JobEnvironment jobEnvironment() const
    {
        return {settings, context, input, status, parameters, runMessages, pump};
    }
};

} // namespace orvalin
