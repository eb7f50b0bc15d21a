#pragma once

#include <string>
#include <string_view>

namespace orvalin {

class MessageBoxes;

// The Flash player for the web that pages made with the web player option
// load: shipped in the program folder, copied beside each page that uses it.
inline constexpr std::string_view kShippedWebPlayerFolder = "player";
inline constexpr std::string_view kPageWebPlayerFolder = "ruffle";
// The one line such a page has in its head beyond the others.
inline constexpr std::string_view kWebPlayerScriptLine = "    <script src=\"ruffle/ruffle.js\"></script>\n";

// Puts a copy of the shipped player (programFolder + "player") into
// pageFolder + "ruffle", unless an identical copy is there already. The copy
// is made under another name and renamed into place, so that the folder is
// never left half copied. False, after a warning, when it could not be made.
bool placeWebPlayer(const std::string& programFolder, const std::string& pageFolder, MessageBoxes& messages);

} // namespace orvalin
