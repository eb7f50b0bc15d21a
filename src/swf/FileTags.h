#pragma once

#include "swf/SwfTagCode.h"

#include <cstdint>
#include <vector>

namespace orvalin {
class OutputFile;
}

namespace orvalin::swf {

// Tags written straight into a file, for tags too large to build in memory.

void writeTag(OutputFile& output, TagCode code, const std::vector<std::uint8_t>& body = {});

// Starts a tag with the long record header, whose length is not yet known;
// returns where that length goes.
std::uint64_t beginLongTag(OutputFile& output, TagCode code);
// Back-patches the length of the tag begun at lengthOffset with what has
// been written since.
void endLongTag(OutputFile& output, std::uint64_t lengthOffset);

} // namespace orvalin::swf
