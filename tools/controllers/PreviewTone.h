#pragma once

#include <string>

namespace orvalin::swfgen {

// Writes the preview's sound as an MP3: a few seconds of a soft major chord
// whose notes come in one after another, mono, 44.1 kHz, 64 kb/s. Until our
// encoder module can be loaded at build time it is encoded by libmp3lame
// directly. False, with a message on standard error, when that fails.
bool writePreviewTone(const std::string& mp3Path);

} // namespace orvalin::swfgen
