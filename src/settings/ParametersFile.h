#pragma once

#include "settings/ConversionSettings.h"

#include <string>
#include <string_view>

namespace orvalin {

class MessageBoxes;
class ProcessExit;

inline constexpr const char* kParametersFileName = "orvaln.da0";

// The thirteen lines of a parameters file, and a fourteenth while the web
// player option is on, each ended by CR LF.
std::string formatParameters(const ConversionSettings& settings);

// Settings from parameters file text. Lines may end in CR LF or LF; missing
// lines read as empty, so flags become false, numbers 0 and texts empty.
ConversionSettings parseParameters(std::string_view text);

// Keeps the live settings in the parameters file. Without a readable file the
// program cannot start, and a save that fails ends it: both are fatal.
class ParametersFile {
public:
    ParametersFile(ConversionSettings& settings, std::string path, MessageBoxes& messages,
                   ProcessExit& processExit);

    void loadParameters();
    void saveParameters();

    // Uses up the next output number of the live settings and saves them, so
    // that no later run reuses it.
    void advanceOutputNumber();

    const std::string& path() const { return path_; }

private:
    [[noreturn]] void fail(std::string_view message);

    ConversionSettings& settings_;
    std::string path_;
    MessageBoxes& messages_;
    ProcessExit& processExit_;
};

} // namespace orvalin
