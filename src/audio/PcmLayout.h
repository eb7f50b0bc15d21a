#pragma once

#include <cstddef>
#include <cstdint>

namespace orvalin {

// Turns frames of WAV PCM (8-bit unsigned or 16-bit little-endian, one or two
// channels) into interleaved 16-bit samples for an encoder of one or two
// channels: two channels become one by averaging, one becomes two by
// duplication. samples holds frames × encoderChannels values.
void convertFrames(const std::uint8_t* raw, std::size_t frames, unsigned fileChannels,
                   unsigned bitsPerSample, unsigned encoderChannels, std::int16_t* samples);

} // namespace orvalin
