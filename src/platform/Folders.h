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

// The program's folders in the user's XDG base folders, ending in the
// separator and not created: orvalin/ in $XDG_CONFIG_HOME for settings, in
// $XDG_DATA_HOME for the user's own controllers, in $XDG_CACHE_HOME for pages
// made on the side. Unset or relative, these stand for ~/.config,
// ~/.local/share and ~/.cache.
std::string userConfigFolder();
std::string userDataFolder();
std::string userCacheFolder();

// True when this process may make and replace files in the folder.
bool canCreateFilesIn(const std::string& folder);

// Makes the folder and any missing above it; true when it is there afterwards.
bool createFolders(const std::string& folder);

bool folderExists(const std::string& folder);

// The folder a path names a file in, ending in the separator.
std::string folderOf(const std::string& path);

} // namespace orvalin
