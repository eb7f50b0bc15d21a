#pragma once

#include <string>

namespace orvalin {

inline constexpr char kPathSeparator = '/';

// The folder with exactly one separator at its end; an empty folder becomes
// the separator alone, as appending to it does.
std::string withTrailingSeparator(std::string folder);

// True for a name that stays in the folder it is looked up in: not empty,
// no separator, not "." or "..".
bool isPlainFileName(const std::string& name);

// The folder of the running executable, ending in the separator.
std::string executableFolder();

// The user's desktop folder (XDG_DESKTOP_DIR, else $HOME/Desktop), ending in
// the separator. The folder is not created.
std::string desktopFolder();

} // namespace orvalin
