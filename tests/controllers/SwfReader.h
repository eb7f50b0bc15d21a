#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace orvalin::swfgen::test {

// Reads what the assembler writes, independently of it: bytes little-endian,
// bit fields most significant bit first. Throws std::out_of_range past the end.
class SwfReader {
public:
    explicit SwfReader(std::vector<std::uint8_t> bytes, std::size_t offset = 0)
        : bytes_(std::move(bytes)), offset_(offset)
    {
    }

    std::uint32_t bits(int count);
    std::int32_t signedBits(int count);
    void align() { bit_ = 0; }
    std::uint8_t ui8();
    std::uint16_t ui16();
    std::uint32_t ui32();
    std::string string();
    std::size_t offset() const { return offset_; }
    bool atEnd() const { return offset_ >= bytes_.size(); }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    int bit_ = 0;
};

struct ReadTag {
    int code = 0;
    std::vector<std::uint8_t> body;
};

// The tags of a whole file, after its header; the end tag is included.
std::vector<ReadTag> readTags(const std::vector<std::uint8_t>& file);

} // namespace orvalin::swfgen::test
