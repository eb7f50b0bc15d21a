#include "Mp3Frames.h"

namespace orvalin::test {

std::vector<std::uint8_t> makeFrames(const FrameKind& kind, int count)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(count) * static_cast<std::size_t>(kind.length));
    for (int frame = 0; frame < count; ++frame) {
        bytes.insert(bytes.end(), {0xFF, kind.b1, kind.b2, kind.b3});
        for (int i = 4; i < kind.length; ++i)
            bytes.push_back(static_cast<std::uint8_t>((frame + i) % 200));
    }
    return bytes;
}

} // namespace orvalin::test
