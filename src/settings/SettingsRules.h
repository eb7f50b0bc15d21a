#pragma once

#include <string>

namespace orvalin {

// The lines that refuse a sample rate and bitrate combination, each ending
// in a line break; empty when the combination is allowed.
std::string compressionRuleMessage(int sampleRate, int bitrate);

// The instruction letter as it is kept: the first character, lower case, and
// "c" for anything outside "a" to "z" or for "s" (which names the stream).
std::string normaliseInstructionLetter(const std::string& letter);

} // namespace orvalin
