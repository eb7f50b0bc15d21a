#pragma once

#include <cstdint>

namespace orvalin {

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };
enum class MpegLayer { Layer1, Layer2, Layer3 };

// What an MPEG audio frame header says, read without validation: reserved
// values fall back to usable ones, so any 0xFF byte can start a frame.
struct MpegFrameInfo {
    MpegVersion version = MpegVersion::Mpeg1;
    MpegLayer layer = MpegLayer::Layer3;
    int bitrate = 0;     // kb/s
    int sampleRate = 0;  // Hz
    bool stereo = false; // any channel mode but mono
    int frameLength = 0; // bytes, without padding
    int paddingSize = 0; // 4 for Layer I, else 1
    bool padded = false;

    int lengthWithPadding() const { return frameLength + (padded ? paddingSize : 0); }
};

// Parses header bytes 2 to 4 (the byte after the leading 0xFF and the two
// that follow it).
MpegFrameInfo parseMpegHeader(std::uint8_t h1, std::uint8_t h2, std::uint8_t h3);

} // namespace orvalin
