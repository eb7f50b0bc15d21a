#pragma once

#include "Shape.h"
#include "swf/SwfTagCode.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvalin::swfgen {

using swf::TagCode;

// One tag of a Flash file: its code and its body, without the record header.
struct Tag {
    TagCode code = TagCode::End;
    std::vector<std::uint8_t> body;
};

// The shape records of a one-colour shape: a move and a fill choice per
// contour, its edges, and the end record.
std::vector<std::uint8_t> shapeRecords(const Shape& shape);
Tag defineShape3(std::uint16_t id, const Shape& shape);

// A character shown by a button in some of its states, moved by an offset.
struct ButtonLayer {
    std::uint16_t characterId = 0;
    std::uint16_t depth = 0;
    bool up = false;
    bool over = false;
    bool down = false;
    bool hit = false;
    Point offset;
};
// A button that runs the given actions (without their end flag) when it is
// released over itself.
Tag defineButton2(std::uint16_t id, const std::vector<ButtonLayer>& layers,
                  const std::vector<std::uint8_t>& releaseActions);

// Places a character; a non-empty name lets scripts reach it.
Tag placeObject2(std::uint16_t depth, std::uint16_t characterId, Point at, std::string_view name);
// A one-frame movie clip holding the given placements.
Tag defineSprite(std::uint16_t id, const std::vector<Tag>& placements);
// A frame script (without its end flag).
Tag doAction(const std::vector<std::uint8_t>& actions);
Tag setBackgroundColor(Colour colour);
Tag showFrame();

struct MovieHeader {
    std::uint8_t version = 0;
    std::int32_t width = 0;  // twips
    std::int32_t height = 0; // twips
    std::uint16_t frameRate = 0; // 8.8 fixed point
    std::uint16_t frameCount = 0;
};
// A whole uncompressed file: header, the tags, and the end tag.
std::vector<std::uint8_t> movieFile(const MovieHeader& header, const std::vector<Tag>& tags);

} // namespace orvalin::swfgen
