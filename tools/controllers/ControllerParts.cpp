#include "ControllerParts.h"

#include <algorithm>
#include <cmath>

namespace orvalin::swfgen {
namespace {

constexpr std::int32_t kTwips = 20;

Colour withAlpha(Colour colour, std::uint8_t alpha)
{
    colour.alpha = alpha;
    return colour;
}

Contour barOutline(const ControllerLook& look)
{
    return roundedRectangle(0, 0, twips(look.width), twips(look.height), twips(look.barRadius));
}

} // namespace

std::int32_t twips(double pixels)
{
    return static_cast<std::int32_t>(std::lround(pixels * kTwips));
}

Shape barShape(const ControllerLook& look)
{
    return {look.bar, {barOutline(look)}};
}

Shape sheenShape(const ControllerLook& look)
{
    return {withAlpha({255, 255, 255, 0}, 18),
            {roundedRectangle(twips(2), twips(1), twips(look.width - 4), twips(look.height / 2.0 - 1),
                              twips(std::max(0, look.barRadius - 2)))}};
}

Shape veilShape(const ControllerLook& look)
{
    return {withAlpha(look.bar, 170), {barOutline(look)}};
}

Shape face(const ControllerLook& look, Colour colour)
{
    return {colour, {roundedRectangle(0, 0, twips(look.buttonWidth), twips(look.buttonHeight),
                                      twips(look.buttonRadius))}};
}

Shape lampShape(const ControllerLook& look, Colour colour)
{
    const LampStrip strip = lampStrip(look);
    return {colour, {roundedRectangle(twips(strip.x), twips(strip.y), twips(strip.width),
                                      twips(strip.height), twips(strip.height / 2))}};
}

std::vector<Shape> glyph(ButtonRole role, const ControllerLook& look, Colour colour)
{
    const double size = std::min(look.buttonWidth, look.buttonHeight);
    const double cx = look.buttonWidth / 2.0;
    const double cy = look.buttonHeight * 0.45;
    switch (role) {
    case ButtonRole::Play: {
        const double half = size * 0.21;
        const double left = cx - half * 0.75;
        return {{colour,
                 {triangle({twips(left), twips(cy - half)}, {twips(left + half * 1.7), twips(cy)},
                           {twips(left), twips(cy + half)})}}};
    }
    case ButtonRole::Stop: {
        const double side = size * 0.34;
        return {{colour, {rectangle(twips(cx - side / 2), twips(cy - side / 2), twips(side), twips(side))}}};
    }
    case ButtonRole::Loop: {
        const double width = size * 0.62;
        const double height = size * 0.36;
        const double stroke = std::max(1.5, size * 0.08);
        const double left = cx - width / 2;
        const double top = cy - height / 2;
        const Contour outer = roundedRectangle(twips(left), twips(top), twips(width), twips(height),
                                               twips(height / 2));
        const Contour inner = roundedRectangle(twips(left + stroke), twips(top + stroke),
                                               twips(width - 2 * stroke), twips(height - 2 * stroke),
                                               twips(height / 2 - stroke));
        const double head = stroke * 1.6;
        const double tipX = cx + head;
        const double midY = top + stroke / 2;
        return {{colour, {outer, inner.reversed()}},
                {colour,
                 {triangle({twips(tipX - 2 * head), twips(midY - head)}, {twips(tipX), twips(midY)},
                           {twips(tipX - 2 * head), twips(midY + head)})}}};
    }
    }
    return {};
}

} // namespace orvalin::swfgen
