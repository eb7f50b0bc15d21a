#pragma once

#include <string>

namespace orvalin {

inline constexpr const char* kVersionText = "2.00";

// The folders of the running program, which are never saved.
struct ProgramContext {
    std::string programFolder; // ends in the path separator
    std::string desktopFolder; // ends in the path separator
    // The user's own folders, for an installed program whose folder is the
    // system's: the user's controllers under the data folder, pages made on
    // the side under the cache folder. End in the separator; empty for none.
    std::string userDataFolder;
    std::string userCacheFolder;
};

} // namespace orvalin
