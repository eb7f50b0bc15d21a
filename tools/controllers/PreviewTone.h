#pragma once

#include <string>

namespace orvalin::swfgen {

// The preview's sound: a few seconds of a soft major chord whose notes come
// in one after another, as a 16-bit mono 44.1 kHz PCM WAV. False when the
// file cannot be written.
bool writePreviewTone(const std::string& wavPath);

// How the preview's sound is encoded.
inline constexpr unsigned kPreviewBitrate = 64; // kb/s
inline constexpr unsigned kPreviewSampleRate = 44100;

} // namespace orvalin::swfgen
