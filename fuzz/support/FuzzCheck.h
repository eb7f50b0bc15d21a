#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace orvalin::fuzz {

// A property of the code under test that every input must keep. A broken one
// aborts, so that the fuzzer keeps the input that broke it.
inline void check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "Property broken: %s\n", property);
        std::abort();
    }
}

// COUNT bytes at OFFSET as a little-endian number; the field must lie inside
// the bytes.
inline std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, int count)
{
    check(offset + static_cast<std::size_t>(count) <= bytes.size(), "fields lie inside the file");
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[offset + static_cast<std::size_t>(i)];
    return value;
}

} // namespace orvalin::fuzz
