#pragma once

#include <cstddef>
#include <cstdint>

namespace orvalin {

// An ID3v2 tag starts with "ID3", two version bytes, a flags byte and the
// size of what follows the header.
inline constexpr std::size_t kId3v2HeaderLength = 10;
inline constexpr std::size_t kId3v2SizeOffset = 6;

// The size field: four bytes of seven bits each, most significant first.
// The bytes are taken as they are; a byte with its top bit set marks a
// damaged size, which callers that care check themselves.
constexpr std::uint64_t id3v2Size(const std::uint8_t* sizeBytes)
{
    std::uint64_t size = 0;
    for (int i = 0; i < 4; ++i)
        size = size * 128 + sizeBytes[i];
    return size;
}

} // namespace orvalin
