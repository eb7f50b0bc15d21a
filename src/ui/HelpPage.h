#pragma once

#include <string>

namespace orvalin {

class DocumentOpener;
class MessageBoxes;

// The help page that ships in the program folder.
std::string helpPagePath(const std::string& programFolder);

// Opens the help page in the desktop's browser; a warning owned by the main
// window says so when that fails.
void launchHelp(const std::string& programFolder, DocumentOpener& opener, MessageBoxes& messages);

} // namespace orvalin
