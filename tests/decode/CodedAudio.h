#pragma once

#include "TestAudio.h"
#include "TestFolder.h"

#include <cstdint>
#include <string>
#include <vector>

// What the encode and decode tests need to make and look into coded sound.
namespace orvalin::test {

using Bytes = std::vector<std::uint8_t>;

// The MPEG frames from the file's first byte on, while whole ones follow.
std::vector<Bytes> mpegFrames(const Bytes& file);

// 16-bit little-endian samples, channels interleaved.
struct Pcm {
    Pcm(const std::string& bytes, int channelCount, int sampleRate);

    int channels;
    int rate;
    std::vector<std::int16_t> samples;

    std::size_t frames() const { return samples.size() / static_cast<std::size_t>(channels); }
    // Root mean square of one channel over [from, to) seconds, of full scale 1.
    double loudness(int channel, double from, double to) const;
};

// The tone encoded by the lame command line; fails the test when lame does.
std::string lameMp3(const TestFolder& folder, const std::string& name, const TestTone& tone,
                    const std::string& options);

} // namespace orvalin::test
