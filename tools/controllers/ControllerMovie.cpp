#include "ControllerMovie.h"

#include "ControllerParts.h"
#include "ControllerScript.h"
#include "SwfTags.h"

namespace orvalin::swfgen {
namespace {

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

    const auto bar = movie.shape(barShape(look));
    const auto sheen = movie.shape(sheenShape(look));
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

    const auto veil = movie.shape(veilShape(look));
    movie.place(movie.clip({veil}), {}, kNoSoundName);

    movie.add(doAction(controllerScript()));
    movie.add(showFrame());

    const MovieHeader header{kControllerSwfVersion, twips(look.width), twips(look.height),
                             kControllerFrameRate, 1};
    return movieFile(header, movie.tags());
}

} // namespace orvalin::swfgen
