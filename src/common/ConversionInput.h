#pragma once

#include <string>

namespace orvalin {

// The file the user asked to convert and the text its page shows: set by the
// main window or the command line, checked and proposed by the input check,
// read by the run.
struct ConversionInput {
    std::string inputPath;
    bool inputIsWav = false;
    std::string outputText;
};

} // namespace orvalin
