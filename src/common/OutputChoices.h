#pragma once

#include <array>
#include <cstdint>

namespace orvalin {

// What a run's page embeds. The parameters file keeps the number, and keeps
// one outside these as it is.
enum class OutputMode : int {
    Controller = 1,  // a copy of a controller, which plays the stream
    BareLooping = 2, // the stream itself, looping
    BareOnce = 3,    // the stream itself, played once
};

// The channel mode the encoder is asked for, in the encoder module's own
// numbers.
enum class Mp3ChannelMode : std::uint8_t { Stereo = 0, Mono = 3 };

// The bitrates (kb/s) and sample rates (Hz) a run can encode at.
inline constexpr std::array kBitrates = {8, 16, 24, 32, 40, 48, 56, 64, 80,
                                         96, 112, 128, 144, 160, 192, 224, 256, 320};
inline constexpr std::array kSampleRates = {11025, 22050, 44100};

} // namespace orvalin
