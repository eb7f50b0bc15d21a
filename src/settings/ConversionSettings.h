#pragma once

#include "common/OutputChoices.h"

#include <string>

namespace orvalin {

// The user's options, kept in the parameters file one line each, in this order.
struct ConversionSettings {
    bool outputToDesktop = false;
    std::string outputFolder;
    OutputMode outputMode{};
    std::string controllerName;
    std::string instructionLetter;
    int tipNumber = 0;
    bool showTipsAtStartup = false;
    std::string backgroundColour;
    std::string textColour;
    int nextOutputNumber = 0;
    int bitrate = 0;    // kb/s
    int sampleRate = 0; // Hz
    int channels = 0;   // 1 mono, 2 stereo
    // Pages load the Flash player for the web copied beside them. Stored as
    // a fourteenth line only while on, so files without it stay as they were.
    bool webPlayer = false;

    bool operator==(const ConversionSettings&) const = default;
};

} // namespace orvalin
