#include "ControllerMovie.h"

#include "ControllerScript.h"
#include "SwfTags.h"

#include <algorithm>
#include <cmath>

namespace orvalin::swfgen {
namespace {

constexpr std::int32_t kTwips = 20;

std::int32_t twips(double pixels)
{
    return static_cast<std::int32_t>(std::lround(pixels * kTwips));
}

Colour withAlpha(Colour colour, std::uint8_t alpha)
{
    colour.alpha = alpha;
    return colour;
}

// The glyph of a button, centred a little above the middle to leave room for
// its lamp. Each part is a shape of its own so that parts may overlap.
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

Shape lampShape(const ControllerLook& look, Colour colour)
{
    const LampStrip strip = lampStrip(look);
    return {colour, {roundedRectangle(twips(strip.x), twips(strip.y), twips(strip.width),
                                      twips(strip.height), twips(strip.height / 2))}};
}

Shape face(const ControllerLook& look, Colour colour)
{
    return {colour, {roundedRectangle(0, 0, twips(look.buttonWidth), twips(look.buttonHeight),
                                      twips(look.buttonRadius))}};
}

// Collects tags and hands out character ids in the order of definition.
class MovieBuilder {
public:
    std::uint16_t shape(const Shape& shape)
    {
        const auto id = nextId_++;
        tags_.push_back(defineShape3(id, shape));
        return id;
    }

    std::uint16_t button(const std::vector<ButtonLayer>& layers, const std::vector<std::uint8_t>& actions)
    {
        const auto id = nextId_++;
        tags_.push_back(defineButton2(id, layers, actions));
        return id;
    }

    // A clip made of the given shapes, so that a script can show or hide it.
    std::uint16_t clip(const std::vector<std::uint16_t>& shapes)
    {
        std::vector<Tag> placements;
        std::uint16_t depth = 1;
        for (const auto shapeId : shapes)
            placements.push_back(placeObject2(depth++, shapeId, {}, ""));
        const auto id = nextId_++;
        tags_.push_back(defineSprite(id, placements));
        return id;
    }

    void place(std::uint16_t id, Point at, std::string_view name = "")
    {
        tags_.push_back(placeObject2(nextDepth_++, id, at, name));
    }

    void add(Tag tag) { tags_.push_back(std::move(tag)); }
    const std::vector<Tag>& tags() const { return tags_; }

private:
    std::vector<Tag> tags_;
    std::uint16_t nextId_ = 1;
    std::uint16_t nextDepth_ = 1;
};

const char* lampName(ButtonRole role)
{
    switch (role) {
    case ButtonRole::Play: return kPlayLampName;
    case ButtonRole::Stop: return kStopLampName;
    case ButtonRole::Loop: return kLoopLampName;
    }
    return "";
}

} // namespace

std::vector<std::uint8_t> controllerMovie(const ControllerLook& look)
{
    MovieBuilder movie;
    movie.add(setBackgroundColor(look.bar));

    const auto bar = movie.shape({look.bar, {roundedRectangle(0, 0, twips(look.width), twips(look.height),
                                                             twips(look.barRadius))}});
    // A faint sheen on the upper half gives the bar some depth.
    const auto sheen = movie.shape(
        {withAlpha({255, 255, 255, 0}, 18),
         {roundedRectangle(twips(2), twips(1), twips(look.width - 4), twips(look.height / 2.0 - 1),
                           twips(std::max(0, look.barRadius - 2)))}});
    movie.place(bar, {});
    movie.place(sheen, {});

    const auto up = movie.shape(face(look, look.face));
    const auto over = movie.shape(face(look, look.faceOver));
    const auto down = movie.shape(face(look, look.faceDown));
    const auto stripOff = movie.shape(lampShape(look, look.lampOff));
    const auto stripOn = movie.shape(lampShape(look, look.lampOn));

    struct Lamp {
        std::uint16_t clip;
        ButtonPlace place;
    };
    std::vector<Lamp> lamps;
    for (const auto& place : buttonPlaces(look)) {
        std::vector<ButtonLayer> layers = {
            {up, 1, true, false, false, true, {}},
            {over, 2, false, true, false, false, {}},
            {down, 3, false, false, true, false, {}},
            {stripOff, 4, true, true, true, false, {}},
        };
        std::uint16_t depth = 5;
        for (const auto& part : glyph(place.role, look, look.glyph))
            layers.push_back({movie.shape(part), depth++, true, true, true, false, {}});
        const auto button = movie.button(layers, buttonActions(place.role));
        movie.place(button, {twips(place.x), twips(place.y)});

        std::vector<std::uint16_t> lit = {stripOn};
        for (const auto& part : glyph(place.role, look, look.lampOn))
            lit.push_back(movie.shape(part));
        lamps.push_back({movie.clip(lit), place});
    }
    // Lamps lie above the buttons; clips without handlers let the mouse through.
    for (const auto& lamp : lamps)
        movie.place(lamp.clip, {twips(lamp.place.x), twips(lamp.place.y)}, lampName(lamp.place.role));

    const auto veil = movie.shape({withAlpha(look.bar, 170),
                                   {roundedRectangle(0, 0, twips(look.width), twips(look.height),
                                                     twips(look.barRadius))}});
    movie.place(movie.clip({veil}), {}, kNoSoundName);

    movie.add(doAction(controllerScript()));
    movie.add(showFrame());

    const MovieHeader header{kControllerSwfVersion, twips(look.width), twips(look.height),
                             kControllerFrameRate, 1};
    return movieFile(header, movie.tags());
}

} // namespace orvalin::swfgen
