#include "PreviewTone.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <vector>

namespace orvalin::swfgen {
namespace {

constexpr int kSampleRate = static_cast<int>(kPreviewSampleRate);
constexpr double kSeconds = 3.0;

struct Note {
    double frequency;
    double entry; // seconds
};

// C major, arpeggiated, with the octave on top.
constexpr Note kNotes[] = {{261.63, 0.0}, {329.63, 0.18}, {392.00, 0.36}, {523.25, 0.54}};

double sampleAt(double time)
{
    double sum = 0;
    for (const auto& note : kNotes) {
        const double t = time - note.entry;
        if (t < 0)
            continue;
        const double attack = std::min(1.0, t / 0.03);
        const double decay = std::exp(-t * 0.9);
        const double phase = 2 * std::numbers::pi * note.frequency * t;
        // A touch of the second harmonic softens the pure sine.
        sum += attack * decay * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
    const double fadeOut = std::clamp((kSeconds - time) / 0.25, 0.0, 1.0);
    return sum * fadeOut * 0.22;
}

void put16(std::ofstream& out, std::uint16_t value)
{
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t value)
{
    put16(out, static_cast<std::uint16_t>(value));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

bool writePreviewTone(const std::string& wavPath)
{
    const auto count = static_cast<std::uint32_t>(kSampleRate * kSeconds);
    std::vector<std::int16_t> samples(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const double value = std::clamp(sampleAt(static_cast<double>(i) / kSampleRate), -1.0, 1.0);
        samples[i] = static_cast<std::int16_t>(std::lround(value * 32767));
    }

    std::ofstream out(wavPath, std::ios::binary | std::ios::trunc);
    const std::uint32_t dataBytes = count * 2;
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kSampleRate);
    put32(out, kSampleRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (const auto sample : samples)
        put16(out, static_cast<std::uint16_t>(sample));
    out.close();
    return static_cast<bool>(out);
}

} // namespace orvalin::swfgen
