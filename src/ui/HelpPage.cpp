#include "ui/HelpPage.h"

#include "platform/DocumentOpener.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"

namespace orvalin {

std::string helpPagePath(const std::string& programFolder)
{
    return programFolder + "help" + kPathSeparator + "index.html";
}

void launchHelp(const std::string& programFolder, DocumentOpener& opener, MessageBoxes& messages)
{
    if (!opener.openDocument(helpPagePath(programFolder)))
        messages.warn("Error: Could not launch help file.");
}

} // namespace orvalin
