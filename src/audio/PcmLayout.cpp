#include "audio/PcmLayout.h"

#include <bit>
#include <cstring>

namespace orvalin {
namespace {

template <unsigned Bits>
int sampleAt(const std::uint8_t* raw, std::size_t index)
{
    if constexpr (Bits == 8)
        return (raw[index] - 128) * 256;
    else
        return static_cast<std::int16_t>(raw[2 * index] | raw[2 * index + 1] << 8);
}

// One loop per layout keeps the per-sample work free of branches.
template <unsigned Bits>
void convert(const std::uint8_t* raw, std::size_t frames, unsigned fileChannels,
             unsigned encoderChannels, std::int16_t* samples)
{
    if (fileChannels == encoderChannels) {
        // 16-bit samples in the file's byte order are already the encoder's.
        if constexpr (Bits == 16 && std::endian::native == std::endian::little) {
            std::memcpy(samples, raw, frames * fileChannels * sizeof(std::int16_t));
            return;
        }
        for (std::size_t i = 0; i < frames * fileChannels; ++i)
            samples[i] = static_cast<std::int16_t>(sampleAt<Bits>(raw, i));
    } else if (fileChannels == 2) {
        for (std::size_t i = 0; i < frames; ++i)
            samples[i] = static_cast<std::int16_t>((sampleAt<Bits>(raw, 2 * i) + sampleAt<Bits>(raw, 2 * i + 1)) / 2);
    } else {
        for (std::size_t i = 0; i < frames; ++i)
            samples[2 * i] = samples[2 * i + 1] = static_cast<std::int16_t>(sampleAt<Bits>(raw, i));
    }
}

} // namespace

void convertFrames(const std::uint8_t* raw, std::size_t frames, unsigned fileChannels,
                   unsigned bitsPerSample, unsigned encoderChannels, std::int16_t* samples)
{
    if (bitsPerSample == 8)
        convert<8>(raw, frames, fileChannels, encoderChannels, samples);
    else
        convert<16>(raw, frames, fileChannels, encoderChannels, samples);
}

} // namespace orvalin
