#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// Interleaved 16-bit samples: one sine tone, its amplitude a fraction of full
// scale.
std::vector<std::int16_t> tone(int sampleRate, double seconds, double frequency, double amplitude);

// Left and right as one interleaved stereo signal.
std::vector<std::int16_t> interleave(const std::vector<std::int16_t>& left,
                                     const std::vector<std::int16_t>& right);

// A PCM WAV holding exactly these samples; 8-bit files keep their high bytes.
std::vector<std::uint8_t> pcmWav(int sampleRate, int channels, int bitsPerSample,
                                 const std::vector<std::int16_t>& interleaved);

// Where the first chunk of that id starts (its id), or the size on failure.
std::size_t chunkOffset(const std::vector<std::uint8_t>& wav, const std::string& id);

// Overwrites a little-endian field of the WAV.
void putLittleEndian(std::vector<std::uint8_t>& wav, std::size_t offset, std::uint32_t value, int bytes);

} // namespace orvalin::test
