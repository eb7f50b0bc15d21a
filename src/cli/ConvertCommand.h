#pragma once

#include <string>

namespace orvalin {

struct ConvertOptions;

enum ExitStatus { kAllConverted = 0, kConversionFailed = 1, kBadUsage = 2, kCancelled = 3 };

// The status of runs taken together: a failure outweighs a cancel, which
// outweighs a success.
constexpr int worseExitStatus(int one, int other)
{
    if (one == kConversionFailed || other == kConversionFailed)
        return kConversionFailed;
    return one == kCancelled || other == kCancelled ? kCancelled : kAllConverted;
}

// Converts each input with its own output number, as the desktop program's
// Go does: in turn, or several at once when the options ask for it. Returns
// the exit status.
int runConvertCommand(const ConvertOptions& options, const std::string& programFolder);

} // namespace orvalin
