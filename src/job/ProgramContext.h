#pragma once

#include <string>

namespace orvalin {

// Values of the running program that are never saved: its folders, its
// version, and the input and page text of the conversion at hand.
struct ProgramContext {
    std::string programFolder; // ends in the path separator
    std::string desktopFolder; // ends in the path separator
    std::string versionText = "2.00";
    std::string inputPath;
    bool inputIsWav = false;
    std::string outputText;
    bool goCancelled = false;
};

} // namespace orvalin
