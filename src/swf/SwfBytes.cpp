#include "swf/SwfBytes.h"

#include <algorithm>

namespace orvalin::swf {

void SwfBytes::ui8(std::uint8_t value)
{
    align();
    data_.push_back(value);
}

void SwfBytes::ui16(std::uint16_t value)
{
    ui8(static_cast<std::uint8_t>(value));
    ui8(static_cast<std::uint8_t>(value >> 8));
}

void SwfBytes::ui32(std::uint32_t value)
{
    ui16(static_cast<std::uint16_t>(value));
    ui16(static_cast<std::uint16_t>(value >> 16));
}

void SwfBytes::bytes(const std::vector<std::uint8_t>& more)
{
    align();
    data_.insert(data_.end(), more.begin(), more.end());
}

void SwfBytes::string(std::string_view text)
{
    align();
    data_.insert(data_.end(), text.begin(), text.end());
    data_.push_back(0);
}

void SwfBytes::bits(std::uint32_t value, int count)
{
    for (int bit = count - 1; bit >= 0; --bit) {
        if (bitsUsed_ == 0)
            data_.push_back(0);
        if ((value >> bit) & 1u)
            data_.back() |= static_cast<std::uint8_t>(0x80u >> bitsUsed_);
        bitsUsed_ = (bitsUsed_ + 1) % 8;
    }
}

void SwfBytes::align()
{
    bitsUsed_ = 0;
}

void SwfBytes::rect(std::int32_t xMin, std::int32_t xMax, std::int32_t yMin, std::int32_t yMax)
{
    const int count = signedBitCount({xMin, xMax, yMin, yMax});
    bits(static_cast<std::uint32_t>(count), 5);
    for (const auto value : {xMin, xMax, yMin, yMax})
        signedBits(value, count);
    align();
}

void SwfBytes::translation(std::int32_t x, std::int32_t y)
{
    bits(0, 1); // no scale
    bits(0, 1); // no rotation
    const int count = x == 0 && y == 0 ? 0 : signedBitCount({x, y});
    bits(static_cast<std::uint32_t>(count), 5);
    signedBits(x, count);
    signedBits(y, count);
    align();
}

void SwfBytes::tag(TagCode code, const std::vector<std::uint8_t>& body)
{
    if (body.size() < kLongTagLength) {
        ui16(recordHeader(code, body.size()));
    } else {
        ui16(recordHeader(code, kLongTagLength));
        ui32(static_cast<std::uint32_t>(body.size()));
    }
    bytes(body);
}

int signedBitCount(std::initializer_list<std::int32_t> values)
{
    int count = 1;
    for (const auto value : values) {
        // A value needs its magnitude bits plus the sign bit.
        const std::uint32_t magnitude =
            value < 0 ? ~static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
        int needed = 1;
        while (needed < 32 && (magnitude >> (needed - 1)) != 0)
            ++needed;
        count = std::max(count, needed);
    }
    return count;
}

} // namespace orvalin::swf
