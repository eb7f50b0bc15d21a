#include "cli/CommandLine.h"
#include "cli/ConvertCommand.h"
#include "common/ProgramContext.h"
#include "platform/Folders.h"
#include "settings/ParametersLocation.h"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace orvalin;

    const ParsedCommandLine parsed = parseCommandLine(argc, argv);
    // A mistake wins over -h beside it: "-hits.mp3" from a shell pattern must
    // not pass for a request for help.
    if (!parsed.error.empty()) {
        std::cerr << "orvalin-convert: " << parsed.error << "\n"
                  << "Try 'orvalin-convert --help' for more information.\n";
        return kBadUsage;
    }
    if (parsed.options.showHelp) {
        std::cout << usageText();
        return kAllConverted;
    }
    if (parsed.options.showVersion) {
        std::cout << "orvalin-convert " << kVersionText << "\n";
        return kAllConverted;
    }
    ConvertOptions options = parsed.options;
    const std::string programFolder = executableFolder();
    if (!options.settingsPath)
        options.settingsPath = chooseParametersPath(programFolder, userConfigFolder());
    return runConvertCommand(options, programFolder);
}
