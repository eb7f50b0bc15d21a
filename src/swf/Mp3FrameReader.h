#pragma once

#include "audio/MpegFrameHeader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvalin {

class InputFile;

// The MP3 frames of a file, one by one, as the animation writer packs them:
// after a leading ID3v2 tag of up to 32 KiB, every 0xFF byte starts a frame
// as long as its header says, unchecked, and any other byte is stepped over
// on its own, so that the caller can report progress between bytes.
class Mp3FrameReader {
public:
    enum class Step { Frame, SkippedByte, End };

    // Starts after the leading tag, if there is one.
    explicit Mp3FrameReader(InputFile& input);

    // A frame cut short by the end of the file ends the walk, so that the
    // stream ends cleanly after the last whole frame.
    Step next();

    // Where the next step reads.
    std::uint64_t position() const;
    // The frame of the last step that gave one.
    const MpegFrameInfo& frameInfo() const { return info_; }
    std::span<const std::uint8_t> frameBytes() const { return {frame_.data(), length_}; }

private:
    // Far above the longest frame a header can announce (2,881 bytes, for an
    // MPEG-2 Layer II frame at 160 kb/s and 8 kHz, padded).
    static constexpr std::size_t kFrameBufferSize = 10000;

    InputFile& input_;
    std::array<std::uint8_t, kFrameBufferSize> frame_;
    MpegFrameInfo info_;
    std::size_t length_ = 0;
};

} // namespace orvalin
