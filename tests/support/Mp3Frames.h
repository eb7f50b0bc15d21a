#pragma once

#include <cstdint>
#include <vector>

namespace orvalin::test {

// Layer III frame headers for frames of the given kind; the bodies are a
// counting pattern without 0xFF bytes so that frames can be recognised.
struct FrameKind {
    std::uint8_t b1; // version and layer
    std::uint8_t b2; // bitrate, rate, padding
    std::uint8_t b3; // channel mode
    int length;      // bytes, padding included
};

inline constexpr FrameKind kMpeg1Stereo128k44100 = {0xFB, 0x90, 0x44, 417};
inline constexpr FrameKind kMpeg1Mono128k44100 = {0xFB, 0x90, 0xC4, 417};
inline constexpr FrameKind kMpeg2Mono64k22050 = {0xF3, 0x80, 0xC4, 208};
inline constexpr FrameKind kMpeg25Stereo32k11025 = {0xE3, 0x40, 0x04, 208};
inline constexpr FrameKind kMpeg25Mono8k11025 = {0xE3, 0x10, 0xC4, 52};

// count frames of that kind, each starting with FF and its header bytes.
std::vector<std::uint8_t> makeFrames(const FrameKind& kind, int count);

} // namespace orvalin::test
