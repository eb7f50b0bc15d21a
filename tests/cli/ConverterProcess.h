#pragma once

#include <string>
#include <vector>

namespace orvalin::test {

struct ProcessResult {
    int status = -1; // exit status, or -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs orvalin-convert from a program folder with the given arguments,
// standard input from /dev/null. When interruptAfterMs is set, sends SIGINT
// that long after the start.
ProcessResult runConverter(const std::string& programFolder, const std::vector<std::string>& arguments,
                           int interruptAfterMs = -1);

} // namespace orvalin::test
