#pragma once

#include "audio/RiffChunkWalker.h"

#include <cstdint>

namespace orvalin {

// What a WAV's "fmt " chunk says, as far as encoding needs it.
struct WavFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channelCount = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint16_t bitsPerSample = 0;

    // Integer PCM of 8 or 16 bits in one or two channels.
    bool isEncodable() const
    {
        return formatTag == 1 && (channelCount == 1 || channelCount == 2) && samplesPerSecond > 0 &&
               (bitsPerSample == 8 || bitsPerSample == 16);
    }
    unsigned bytesPerFrame() const { return channelCount * (bitsPerSample / 8u); }
};

// Reads the fields of a "fmt " chunk; a chunk too short for them gives an
// empty, unencodable format.
WavFormat readWavFormat(InputFile& file, const RiffChunk& chunk);

} // namespace orvalin
