#include "WavBuilder.h"

#include <algorithm>
#include <cmath>

namespace orvalin::test {

std::vector<std::int16_t> tone(int sampleRate, double seconds, double frequency, double amplitude)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * sampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(
            std::lround(32767 * amplitude * std::sin(2 * M_PI * frequency * static_cast<double>(i) / sampleRate)));
    return samples;
}

std::vector<std::int16_t> interleave(const std::vector<std::int16_t>& left,
                                     const std::vector<std::int16_t>& right)
{
    std::vector<std::int16_t> stereo;
    for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
        stereo.push_back(left[i]);
        stereo.push_back(right[i]);
    }
    return stereo;
}

std::vector<std::uint8_t> pcmWav(int sampleRate, int channels, int bitsPerSample,
                                 const std::vector<std::int16_t>& interleaved)
{
    const int bytesPerSample = bitsPerSample / 8;
    const auto dataSize = static_cast<std::uint32_t>(interleaved.size() * bytesPerSample);
    std::vector<std::uint8_t> wav(44 + dataSize + dataSize % 2);
    const std::string marks = "RIFF....WAVEfmt ";
    std::copy(marks.begin(), marks.end(), wav.begin());
    putLittleEndian(wav, 4, static_cast<std::uint32_t>(wav.size() - 8), 4);
    putLittleEndian(wav, 16, 16, 4);
    putLittleEndian(wav, 20, 1, 2);
    putLittleEndian(wav, 22, static_cast<std::uint32_t>(channels), 2);
    putLittleEndian(wav, 24, static_cast<std::uint32_t>(sampleRate), 4);
    putLittleEndian(wav, 28, static_cast<std::uint32_t>(sampleRate * channels * bytesPerSample), 4);
    putLittleEndian(wav, 32, static_cast<std::uint32_t>(channels * bytesPerSample), 2);
    putLittleEndian(wav, 34, static_cast<std::uint32_t>(bitsPerSample), 2);
    const std::string data = "data";
    std::copy(data.begin(), data.end(), wav.begin() + 36);
    putLittleEndian(wav, 40, dataSize, 4);
    for (std::size_t i = 0; i < interleaved.size(); ++i) {
        const auto sample = static_cast<std::uint16_t>(interleaved[i]);
        if (bitsPerSample == 8)
            wav[44 + i] = static_cast<std::uint8_t>((sample >> 8) ^ 0x80);
        else
            putLittleEndian(wav, 44 + 2 * i, sample, 2);
    }
    return wav;
}

std::size_t chunkOffset(const std::vector<std::uint8_t>& wav, const std::string& id)
{
    std::size_t offset = 12;
    while (offset + 8 <= wav.size()) {
        if (std::string(wav.begin() + static_cast<long>(offset), wav.begin() + static_cast<long>(offset) + 4) == id)
            return offset;
        const std::uint32_t size = wav[offset + 4] | wav[offset + 5] << 8 | wav[offset + 6] << 16 |
                                   static_cast<std::uint32_t>(wav[offset + 7]) << 24;
        offset += 8 + size + size % 2;
    }
    return wav.size();
}

void putLittleEndian(std::vector<std::uint8_t>& wav, std::size_t offset, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        wav[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace orvalin::test
