#pragma once

#include <string>

namespace orvalin {

struct ConvertOptions;

enum ExitStatus { kAllConverted = 0, kConversionFailed = 1, kBadUsage = 2, kCancelled = 3 };

// Converts each input in turn with consecutive output numbers, as the desktop
// program's Go does, and returns the exit status.
int runConvertCommand(const ConvertOptions& options, const std::string& programFolder);

} // namespace orvalin
