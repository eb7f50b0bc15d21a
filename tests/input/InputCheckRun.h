#pragma once

#include "FakePlatform.h"
#include "audio/InputCheck.h"
#include "job/ProgramContext.h"

#include <string>
#include <vector>

namespace orvalin::test {

// One input check on a path, with what it left behind.
struct InputCheckRun {
    bool passed = false;
    ProgramContext context;
    std::vector<ShownMessage> shown;
};

inline InputCheckRun runInputCheck(const std::string& path)
{
    InputCheckRun run;
    run.context.inputPath = path;
    RecordingMessages messages;
    run.passed = checkInput(run.context, messages);
    run.shown = messages.shown;
    return run;
}

} // namespace orvalin::test
