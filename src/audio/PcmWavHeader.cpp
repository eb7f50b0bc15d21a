#include "audio/PcmWavHeader.h"

#include <cstring>

namespace orvalin {
namespace {

void put16(std::uint8_t* at, unsigned value)
{
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void put32(std::uint8_t* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

std::array<std::uint8_t, kPcmWavHeaderSize> pcmWavHeader(int channels, int sampleRate)
{
    const unsigned blockAlign = 2u * static_cast<unsigned>(channels);
    std::array<std::uint8_t, kPcmWavHeaderSize> header{};
    std::memcpy(&header[0], "RIFF", 4);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    put32(&header[16], 16);
    put16(&header[20], 1); // PCM
    put16(&header[22], static_cast<unsigned>(channels));
    put32(&header[24], static_cast<std::uint32_t>(sampleRate));
    put32(&header[28], static_cast<std::uint32_t>(sampleRate) * blockAlign);
    put16(&header[32], blockAlign);
    put16(&header[34], 16);
    std::memcpy(&header[36], "data", 4);
    return header;
}

} // namespace orvalin
