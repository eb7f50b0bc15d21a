#pragma once

#include <string>

namespace orvalin {

inline constexpr const char* kVersionText = "2.00";

// Values of the running program that are never saved: its folders, and the
// input and page text of the conversion at hand.
struct ProgramContext {
    std::string programFolder; // ends in the path separator
    std::string desktopFolder; // ends in the path separator
    std::string inputPath;
    bool inputIsWav = false;
    std::string outputText;
};

} // namespace orvalin
