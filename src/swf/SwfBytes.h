#pragma once

#include "swf/SwfTagCode.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvalin::swf {

// Little-endian bytes as the Flash file format stores its numbers, with the
// bit fields that RECT, MATRIX and shape records pack most significant bit
// first. Bits are flushed to a whole byte before any byte-sized write.
class SwfBytes {
public:
    void ui8(std::uint8_t value);
    void ui16(std::uint16_t value);
    void ui32(std::uint32_t value);
    void bytes(const std::vector<std::uint8_t>& more);
    // A zero-terminated string.
    void string(std::string_view text);

    // The low `count` bits of value, most significant first.
    void bits(std::uint32_t value, int count);
    void signedBits(std::int32_t value, int count) { bits(static_cast<std::uint32_t>(value), count); }
    void align();

    // A RECT in twips: the fewest bits that hold all four signed values.
    void rect(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax);
    // A MATRIX that only moves, by twips.
    void translation(std::int32_t x, std::int32_t y);

    // A whole tag: its record header, short below kLongTagLength body bytes,
    // then the body.
    void tag(TagCode code, const std::vector<std::uint8_t>& body);

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

private:
    std::vector<std::uint8_t> data_;
    int bitsUsed_ = 0; // in the last byte, while packing bits
};

// The bits a signed bit field needs to hold every value given.
int signedBitCount(std::initializer_list<std::int32_t> values);

} // namespace orvalin::swf
