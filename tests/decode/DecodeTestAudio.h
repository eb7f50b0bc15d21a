#pragma once

#include "TestAudio.h"
#include "TestFolder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// Encodes a generated WAV with the lame command line; the MP3's path, or ""
// when lame failed.
std::string encodeWithLame(const TestFolder& folder, const std::string& name, const TestTone& tone,
                           const std::string& lameOptions);

// 16-bit PCM with a given sample list (channels interleaved).
void writePcmWav(const std::string& path, int sampleRate, int channels,
                 const std::vector<std::int16_t>& samples);

// What the decode stage wrote: the fields of its 44-byte header and the PCM.
struct DecodedWav {
    std::string riff, wave, fmt, data;
    std::uint32_t riffSize = 0, fmtSize = 0, sampleRate = 0, byteRate = 0, dataSize = 0;
    std::uint16_t formatTag = 0, channels = 0, blockAlign = 0, bitsPerSample = 0;
    std::size_t fileLength = 0;
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return channels ? samples.size() / channels : 0; }
};
DecodedWav readDecodedWav(const std::string& path);

// Pitch of one channel from its rising zero crossings, in Hz.
double toneFrequency(const DecodedWav& wav, int channel);

// Root mean square of one channel over [from, to) seconds, as a fraction of
// full scale.
double loudness(const DecodedWav& wav, int channel, double from, double to);

} // namespace orvalin::test
