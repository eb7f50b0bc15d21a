#include "PreviewTone.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <memory>
#include <numbers>
#include <vector>

namespace orvalin::swfgen {
namespace {

constexpr int kSampleRate = 44100;
constexpr int kBitrate = 64;
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

std::vector<short> toneSamples()
{
    std::vector<short> samples(static_cast<std::size_t>(kSampleRate * kSeconds));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double value = std::clamp(sampleAt(static_cast<double>(i) / kSampleRate), -1.0, 1.0);
        samples[i] = static_cast<short>(std::lround(value * 32767));
    }
    return samples;
}

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

// The whole tone as MP3 frames, without an info tag: every frame carries sound.
std::vector<unsigned char> encode(std::vector<short>& samples)
{
    std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
    if (!lame)
        return {};
    lame_set_in_samplerate(lame.get(), kSampleRate);
    lame_set_out_samplerate(lame.get(), kSampleRate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), kBitrate);
    lame_set_bWriteVbrTag(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return {};

    // LAME's own bound on what one call may produce.
    std::vector<unsigned char> mp3(samples.size() * 5 / 4 + 7200 + 7200);
    const int encoded = lame_encode_buffer(lame.get(), samples.data(), samples.data(),
                                           static_cast<int>(samples.size()), mp3.data(),
                                           static_cast<int>(mp3.size()));
    if (encoded < 0)
        return {};
    const int flushed = lame_encode_flush(lame.get(), mp3.data() + encoded,
                                          static_cast<int>(mp3.size()) - encoded);
    if (flushed < 0)
        return {};
    mp3.resize(static_cast<std::size_t>(encoded + flushed));
    return mp3;
}

} // namespace

bool writePreviewTone(const std::string& mp3Path)
{
    auto samples = toneSamples();
    const auto mp3 = encode(samples);
    if (mp3.empty()) {
        std::cerr << "Cannot encode the preview's sound\n";
        return false;
    }
    std::ofstream out(mp3Path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(mp3.data()), static_cast<std::streamsize>(mp3.size()));
    out.close();
    if (!out)
        std::cerr << "Cannot write " << mp3Path << "\n";
    return static_cast<bool>(out);
}

} // namespace orvalin::swfgen
