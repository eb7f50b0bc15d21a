#include "ControllerLook.h"

#include <algorithm>

namespace orvalin::swfgen {
namespace {

constexpr Colour rgb(unsigned value)
{
    return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value), 255};
}

} // namespace

const std::vector<ControllerLook>& controllerLooks()
{
    static const std::vector<ControllerLook> looks = {
        {"standard01200040", "Three square buttons on a dark bar.", 200, 40, 4, 28, 28, 3, 14,
         rgb(0x23262B), rgb(0x3A3F47), rgb(0x4D545E), rgb(0x2A2E34), rgb(0xC9CED6),
         rgb(0x2E3A30), rgb(0x6FDC6F)},
        {"compact02120030", "Small rounded buttons on a light strip.", 120, 30, 6, 26, 20, 6, 6,
         rgb(0xE1E4EA), rgb(0xFFFFFF), rgb(0xEEF3FF), rgb(0xCDD4E0), rgb(0x4A5060),
         rgb(0xC9CFDA), rgb(0x2F7DE1)},
        {"round03150050", "Round buttons on a brown pill.", 150, 50, 25, 36, 36, 18, 8,
         rgb(0x3B2A20), rgb(0x6B4A36), rgb(0x84603F), rgb(0x51372A), rgb(0xF3E3D3),
         rgb(0x4A3428), rgb(0xFFB347)},
        {"wide04300040", "Wide pill buttons on a teal band.", 300, 40, 0, 84, 28, 14, 12,
         rgb(0x0F3D3E), rgb(0x17595A), rgb(0x20797A), rgb(0x0E4647), rgb(0xD8F3F0),
         rgb(0x124A4B), rgb(0x5EF2D6)},
    };
    return looks;
}

std::array<ButtonPlace, 3> buttonPlaces(const ControllerLook& look)
{
    const int rowWidth = 3 * look.buttonWidth + 2 * look.gap;
    const int left = (look.width - rowWidth) / 2;
    const int top = (look.height - look.buttonHeight) / 2;
    const int step = look.buttonWidth + look.gap;
    return {ButtonPlace{ButtonRole::Play, left, top}, ButtonPlace{ButtonRole::Stop, left + step, top},
            ButtonPlace{ButtonRole::Loop, left + 2 * step, top}};
}

LampStrip lampStrip(const ControllerLook& look)
{
    const double width = look.buttonWidth * 0.4;
    const double height = std::max(2.0, look.buttonHeight * 0.08);
    return {(look.buttonWidth - width) / 2, look.buttonHeight * 0.82 - height, width, height};
}

} // namespace orvalin::swfgen
