#pragma once

#include <cstddef>
#include <cstdint>

namespace orvalin::swf {

// The tag codes of the Flash file format that our files use.
enum class TagCode : std::uint16_t {
    End = 0,
    ShowFrame = 1,
    SetBackgroundColor = 9,
    DoAction = 12,
    SoundStreamHead = 18,
    SoundStreamBlock = 19,
    PlaceObject2 = 26,
    DefineShape3 = 32,
    DefineButton2 = 34,
    DefineSprite = 39,
};

// A record header packs the code above a 6-bit length; this length says
// that a 32-bit length follows instead.
inline constexpr std::size_t kLongTagLength = 0x3F;

constexpr std::uint16_t recordHeader(TagCode code, std::size_t shortLength)
{
    return static_cast<std::uint16_t>(static_cast<unsigned>(code) << 6 | shortLength);
}

} // namespace orvalin::swf
