#pragma once

#include "settings/ConversionSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace orvalin {

class FileLock;
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
// Several processes may share the file: every save happens under its lock,
// and the next output number on file only ever moves on by reservations,
// unless the user chose another.
class ParametersFile {
public:
    ParametersFile(ConversionSettings& settings, std::string path, MessageBoxes& messages,
                   ProcessExit& processExit);

    void loadParameters();

    // Writes the live settings. Their next output number is written only when
    // it was changed since this object last read or wrote one; otherwise the
    // number on file stays, as other runs may have moved it on, and the live
    // settings take it up.
    void saveParameters();

    // Takes the next output number on file for one run and stores the one
    // after it, leaving the other settings on file as they are; the live
    // settings take up the new number. No other run, in this process or
    // another, is given the same number.
    int reserveOutputNumber();

    const std::string& path() const { return path_; }

private:
    // The lock all processes take before they read the file to rewrite it.
    FileLock lock();
    // The settings on file; nothing when there is no file.
    std::optional<ConversionSettings> readStored();
    // Replaces the file, or the file a link at its path leads to, in one step.
    void write(const ConversionSettings& settings);
    [[noreturn]] void fail(std::string_view message);

    ConversionSettings& settings_;
    std::string path_;
    MessageBoxes& messages_;
    ProcessExit& processExit_;
    std::optional<int> numberOnFile_; // as this object last read or wrote it
};

} // namespace orvalin
