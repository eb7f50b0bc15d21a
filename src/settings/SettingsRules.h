#pragma once

#include <array>
#include <string>

namespace orvalin {

// The bitrates (kb/s) and sample rates (Hz) a run can encode at.
inline constexpr std::array kBitrates = {8, 16, 24, 32, 40, 48, 56, 64, 80,
                                         96, 112, 128, 144, 160, 192, 224, 256, 320};
inline constexpr std::array kSampleRates = {11025, 22050, 44100};

// The lines that refuse a sample rate and bitrate combination, each ending
// in a line break; empty when the combination is allowed.
std::string compressionRuleMessage(int sampleRate, int bitrate);

// The instruction letter as it is kept: the first character, lower case, and
// "c" for anything outside "a" to "z" or for "s" (which names the stream).
std::string normaliseInstructionLetter(const std::string& letter);

} // namespace orvalin
