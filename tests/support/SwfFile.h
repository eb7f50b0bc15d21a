#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// A Flash file taken apart, independently of the writer, for checking.
struct SwfTag {
    int code = 0;
    std::uint32_t length = 0;
    bool longHeader = false;
    std::size_t bodyOffset = 0; // in the file
    std::vector<std::uint8_t> body;
};

struct SwfFile {
    std::vector<std::uint8_t> bytes;
    std::string signature;
    int version = 0;
    std::uint32_t declaredLength = 0;
    std::vector<std::uint8_t> frameRect;
    double frameRate = 0;
    int frameCount = 0;
    std::vector<SwfTag> tags;

    std::vector<const SwfTag*> tagsWithCode(int code) const;
};

inline constexpr int kShowFrameTag = 1;
inline constexpr int kSoundStreamHeadTag = 18;
inline constexpr int kSoundStreamBlockTag = 19;

// Parses an uncompressed SWF whose frame RECT is the 6-byte one the writer
// uses; throws std::runtime_error on anything malformed.
SwfFile parseSwf(const std::vector<std::uint8_t>& bytes);

// Little-endian reads from a byte vector.
unsigned readUi16(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint32_t readUi32(const std::vector<std::uint8_t>& bytes, std::size_t offset);

} // namespace orvalin::test
