#pragma once

#include <string>

namespace orvalin::swfgen {

// Writes the preview's sound: a few seconds of a soft major chord whose notes
// come in one after another, as a 16-bit mono PCM WAV. False when the file
// cannot be written.
bool writePreviewTone(const std::string& wavPath);

} // namespace orvalin::swfgen
