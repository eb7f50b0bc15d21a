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

// Whether four bytes start a frame the decoder can take: the sync bits, and
// no reserved or free-format value.
inline bool isUsableMpegHeader(const std::uint8_t* header)
{
    const unsigned version = (header[1] >> 3) & 3;
    const unsigned layer = (header[1] >> 1) & 3;
    const unsigned bitrateIndex = header[2] >> 4;
    const unsigned rateIndex = (header[2] >> 2) & 3;
    return header[0] == 0xFF && (header[1] & 0xE0) == 0xE0 && version != 1 && layer != 0 &&
           bitrateIndex != 0 && bitrateIndex != 15 && rateIndex != 3;
}

// Whether two usable headers belong to one stream: same version, layer,
// sample rate and channel count.
inline bool isSameMpegStream(const std::uint8_t* first, const std::uint8_t* second)
{
    const bool firstMono = (first[3] >> 6) == 3;
    const bool secondMono = (second[3] >> 6) == 3;
    return (first[1] & 0xFE) == (second[1] & 0xFE) && (first[2] & 0x0C) == (second[2] & 0x0C) &&
           firstMono == secondMono;
}

// Parses header bytes 2 to 4 (the byte after the leading 0xFF and the two
// that follow it).
MpegFrameInfo parseMpegHeader(std::uint8_t h1, std::uint8_t h2, std::uint8_t h3);

} // namespace orvalin
