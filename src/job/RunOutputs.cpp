#include "job/RunOutputs.h"

#include "common/ProgramContext.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "settings/ConversionSettings.h"

namespace orvalin {

std::string outputFolderFor(const ConversionSettings& settings, const ProgramContext& context)
{
    if (settings.outputToDesktop)
        return context.desktopFolder;
    return settings.outputFolder.empty() ? std::string() : withTrailingSeparator(settings.outputFolder);
}

std::vector<std::string> outputPathsFor(const ConversionSettings& settings, const std::string& folder,
                                        const OutputNames& names)
{
    std::vector<std::string> paths;
    if (settings.outputMode == OutputMode::Controller)
        paths.push_back(folder + names.controller(settings.instructionLetter));
    paths.push_back(folder + names.stream());
    paths.push_back(folder + names.page());
    return paths;
}

std::optional<std::string> overwriteQuestion(const std::vector<std::string>& paths)
{
    std::string list;
    int existing = 0;
    for (const auto& path : paths) {
        if (fileIsReadable(path)) {
            list += "\n" + path;
            ++existing;
        }
    }
    if (existing == 0)
        return std::nullopt;
    return (existing == 1 ? "Is it OK to overwrite this file:" : "Is it OK to overwrite these files:") + list;
}

} // namespace orvalin
