#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

// A run writes each output under its name plus this, and the output takes
// its own name only once the run has made all of them whole.
inline constexpr std::string_view kUnfinishedSuffix = ".new";
// A file an output replaces waits under its name plus this until the run has
// published all of its outputs.
inline constexpr std::string_view kReplacedSuffix = ".old";

// Moves each output of the folder from its unfinished name to its own, in
// order. What already holds a name is moved aside first, and removed only
// once every output is in place. Should a move fail, the outputs already in
// place are taken away and what they replaced is brought back, so that the
// folder is left as the run found it; the path that could not be written is
// returned.
std::optional<std::string> publishOutputs(const std::string& folder, const std::vector<std::string>& names);

} // namespace orvalin
