#pragma once

#include <string>

namespace orvalin {

// The user's options, kept in the parameters file one line each, in this order.
struct ConversionSettings {
    bool outputToDesktop = false;
    std::string outputFolder;
    int outputMode = 0; // 1 controller, 2 bare looping, 3 bare once
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

    bool operator==(const ConversionSettings&) const = default;
};

inline constexpr int kControllerOutput = 1;
inline constexpr int kBareLoopingOutput = 2;
inline constexpr int kBareOnceOutput = 3;

} // namespace orvalin
