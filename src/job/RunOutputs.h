#pragma once

#include "common/OutputNames.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalin {

struct ConversionSettings;
struct ProgramContext;

// The folder a run writes to, ending in the separator; empty when the
// settings name none, rather than the root folder.
std::string outputFolderFor(const ConversionSettings& settings, const ProgramContext& context);

// The final paths of a run's outputs: controller copy, animation, page.
std::vector<std::string> outputPathsFor(const ConversionSettings& settings, const std::string& folder,
                                        const OutputNames& names);

// The question asking whether the files among these that exist may be
// overwritten; nothing when none does.
std::optional<std::string> overwriteQuestion(const std::vector<std::string>& paths);

} // namespace orvalin
