#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

class MessageBoxes;

// The Flash player for the web that pages made with the web player option
// load: shipped in the program folder, copied beside each page that uses it.
inline constexpr std::string_view kShippedWebPlayerFolder = "player";
inline constexpr std::string_view kPageWebPlayerFolder = "ruffle";
// The one line such a page has in its head beyond the others.
inline constexpr std::string_view kWebPlayerScriptLine = "    <script src=\"ruffle/ruffle.js\"></script>\n";

// The files a page loads the player from, by their names relative to the
// page's folder ("ruffle/…").
std::vector<std::string> webPlayerFiles(const std::string& programFolder);

// Why the player cannot be put beside a page in pageFolder: something of the
// user's holds its name. Empty when it can.
std::string webPlayerProblem(const std::string& programFolder, const std::string& pageFolder);

// Puts a copy of the shipped player (programFolder + "player") into
// pageFolder + "ruffle", unless an identical copy is there already. A copy of
// the player of any version is replaced; anything else of that name is left
// as it is, and the player is not placed. The copy is made under another
// name and renamed into place, so that the folder is never left half copied;
// what killed runs left of their copies goes. False, after a warning, when
// the player could not be placed.
bool placeWebPlayer(const std::string& programFolder, const std::string& pageFolder, MessageBoxes& messages);

} // namespace orvalin
