#pragma once

#include "swf/SwfTagCode.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// Reads SWF bytes independently of our writers: numbers little-endian, bit
// fields most significant bit first. Throws std::out_of_range past the end.
class SwfReader {
public:
    explicit SwfReader(std::vector<std::uint8_t> bytes, std::size_t offset = 0)
        : bytes_(std::move(bytes)), offset_(offset)
    {
    }

    std::uint32_t bits(int count);
    std::int32_t signedBits(int count);
    std::uint8_t ui8() { return static_cast<std::uint8_t>(littleEndian(1)); }
    std::uint16_t ui16() { return static_cast<std::uint16_t>(littleEndian(2)); }
    std::uint32_t ui32() { return littleEndian(4); }
    std::string string();
    std::vector<std::uint8_t> take(std::size_t count);
    std::size_t offset() const { return offset_; }
    bool atEnd() const { return offset_ >= bytes_.size(); }

private:
    // Byte fields start on a whole byte.
    void align() { offset_ += bit_ > 0; bit_ = 0; }
    std::uint32_t littleEndian(int count);

    std::vector<std::uint8_t> bytes_;
    std::size_t offset_;
    int bit_ = 0;
};

struct SwfTag {
    swf::TagCode code = swf::TagCode::End;
    std::uint32_t length = 0;
    bool longHeader = false;
    std::vector<std::uint8_t> body;
};

// A whole uncompressed Flash file taken apart.
struct SwfFile {
    std::vector<std::uint8_t> bytes;
    std::string signature;
    int version = 0;
    std::uint32_t declaredLength = 0;
    std::vector<std::uint8_t> frameRect; // as stored
    std::vector<int> frame;              // x min, x max, y min, y max in twips
    double frameRate = 0;
    int frameCount = 0;
    std::vector<SwfTag> tags; // up to the first End tag, which is included

    std::vector<const SwfTag*> tagsWithCode(swf::TagCode code) const;
};

// Throws on anything malformed, and on anything but End tags after the first.
SwfFile parseSwf(const std::vector<std::uint8_t>& bytes);

inline unsigned readUi16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return bytes.at(offset) | bytes.at(offset + 1) << 8;
}

} // namespace orvalin::test
