#include "SwfTags.h"

#include "swf/SwfBytes.h"

#include <algorithm>
#include <limits>

namespace orvalin::swfgen {
namespace {

using swf::SwfBytes;
using swf::signedBitCount;

constexpr int kFillBits = 1; // one fill style, index 1

void edgeBits(SwfBytes& out, std::initializer_list<std::int32_t> deltas)
{
    const int count = std::max(2, signedBitCount(deltas));
    out.bits(static_cast<std::uint32_t>(count - 2), 4);
    for (const auto delta : deltas)
        out.signedBits(delta, count);
}

void writeEdge(SwfBytes& out, Point from, const Contour::Edge& edge)
{
    if (edge.curved) {
        out.bits(1, 1); // edge
        out.bits(0, 1); // curved
        edgeBits(out, {edge.control.x - from.x, edge.control.y - from.y, edge.to.x - edge.control.x,
                       edge.to.y - edge.control.y});
        return;
    }
    const std::int32_t dx = edge.to.x - from.x;
    const std::int32_t dy = edge.to.y - from.y;
    out.bits(1, 1); // edge
    out.bits(1, 1); // straight
    if (dx != 0 && dy != 0) {
        const int count = std::max(2, signedBitCount({dx, dy}));
        out.bits(static_cast<std::uint32_t>(count - 2), 4);
        out.bits(1, 1); // general line
        out.signedBits(dx, count);
        out.signedBits(dy, count);
    } else {
        const std::int32_t delta = dx != 0 ? dx : dy;
        const int count = std::max(2, signedBitCount({delta}));
        out.bits(static_cast<std::uint32_t>(count - 2), 4);
        out.bits(0, 1);            // not general
        out.bits(dx == 0 ? 1 : 0, 1); // vertical
        out.signedBits(delta, count);
    }
}

void writeShapeRecords(SwfBytes& out, const Shape& shape)
{
    bool first = true;
    for (const auto& contour : shape.contours) {
        out.bits(0, 1); // style change
        out.bits(0, 1); // no new styles
        out.bits(0, 1); // no line style
        out.bits(first ? 1 : 0, 1); // fill style 1, once: it holds for what follows
        out.bits(0, 1); // no fill style 0
        out.bits(1, 1); // move to
        const int count = signedBitCount({contour.start.x, contour.start.y});
        out.bits(static_cast<std::uint32_t>(count), 5);
        out.signedBits(contour.start.x, count);
        out.signedBits(contour.start.y, count);
        if (first)
            out.bits(1, kFillBits);
        first = false;

        Point at = contour.start;
        for (const auto& edge : contour.edges) {
            if (!edge.curved && edge.to == at)
                continue;
            writeEdge(out, at, edge);
            at = edge.to;
        }
    }
    out.bits(0, 6); // end of shape
    out.align();
}

void writeBounds(SwfBytes& out, const Shape& shape)
{
    std::int32_t xMin = std::numeric_limits<std::int32_t>::max();
    std::int32_t yMin = xMin;
    std::int32_t xMax = std::numeric_limits<std::int32_t>::min();
    std::int32_t yMax = xMax;
    const auto include = [&](Point p) {
        xMin = std::min(xMin, p.x);
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    };
    for (const auto& contour : shape.contours) {
        include(contour.start);
        for (const auto& edge : contour.edges) {
            if (edge.curved)
                include(edge.control);
            include(edge.to);
        }
    }
    if (shape.contours.empty())
        xMin = xMax = yMin = yMax = 0;
    out.rect(xMin, xMax, yMin, yMax);
}

} // namespace

std::vector<std::uint8_t> shapeRecords(const Shape& shape)
{
    SwfBytes out;
    writeShapeRecords(out, shape);
    return out.data();
}

Tag defineShape3(std::uint16_t id, const Shape& shape)
{
    SwfBytes out;
    out.ui16(id);
    writeBounds(out, shape);
    out.ui8(1);    // one fill style
    out.ui8(0x00); // solid
    out.ui8(shape.colour.red);
    out.ui8(shape.colour.green);
    out.ui8(shape.colour.blue);
    out.ui8(shape.colour.alpha);
    out.ui8(0); // no line styles
    out.bits(kFillBits, 4);
    out.bits(0, 4);
    out.bytes(shapeRecords(shape));
    return {TagCode::DefineShape3, out.data()};
}

Tag defineButton2(std::uint16_t id, const std::vector<ButtonLayer>& layers,
                  const std::vector<std::uint8_t>& releaseActions)
{
    SwfBytes records;
    for (const auto& layer : layers) {
        records.ui8(static_cast<std::uint8_t>((layer.hit ? 8 : 0) | (layer.down ? 4 : 0) |
                                              (layer.over ? 2 : 0) | (layer.up ? 1 : 0)));
        records.ui16(layer.characterId);
        records.ui16(layer.depth);
        records.translation(layer.offset.x, layer.offset.y);
        records.ui8(0); // colour transform without terms
    }
    records.ui8(0); // end of the characters

    SwfBytes out;
    out.ui16(id);
    out.ui8(0); // a push button, not a menu
    out.ui16(static_cast<std::uint16_t>(2 + records.size()));
    out.bytes(records.data());
    out.ui16(0);    // the only, so the last, condition
    out.ui8(0x08);  // over, down to over, up: a release
    out.ui8(0x00);
    out.bytes(releaseActions);
    out.ui8(0);
    return {TagCode::DefineButton2, out.data()};
}

Tag placeObject2(std::uint16_t depth, std::uint16_t characterId, Point at, std::string_view name)
{
    SwfBytes out;
    out.ui8(static_cast<std::uint8_t>((name.empty() ? 0 : 0x20) | 0x04 | 0x02));
    out.ui16(depth);
    out.ui16(characterId);
    out.translation(at.x, at.y);
    if (!name.empty())
        out.string(name);
    return {TagCode::PlaceObject2, out.data()};
}

Tag defineSprite(std::uint16_t id, const std::vector<Tag>& placements)
{
    SwfBytes out;
    out.ui16(id);
    out.ui16(1);
    for (const auto& tag : placements)
        out.tag(tag.code, tag.body);
    out.tag(TagCode::ShowFrame, {});
    out.tag(TagCode::End, {});
    return {TagCode::DefineSprite, out.data()};
}

Tag doAction(const std::vector<std::uint8_t>& actions)
{
    Tag tag{TagCode::DoAction, actions};
    tag.body.push_back(0);
    return tag;
}

Tag setBackgroundColor(Colour colour)
{
    return {TagCode::SetBackgroundColor, {colour.red, colour.green, colour.blue}};
}

Tag showFrame()
{
    return {TagCode::ShowFrame, {}};
}

std::vector<std::uint8_t> movieFile(const MovieHeader& header, const std::vector<Tag>& tags)
{
    SwfBytes body;
    body.rect(0, header.width, 0, header.height);
    body.ui16(header.frameRate);
    body.ui16(header.frameCount);
    for (const auto& tag : tags)
        body.tag(tag.code, tag.body);
    body.tag(TagCode::End, {});

    SwfBytes out;
    out.ui8('F');
    out.ui8('W');
    out.ui8('S');
    out.ui8(header.version);
    out.ui32(static_cast<std::uint32_t>(8 + body.size()));
    out.bytes(body.data());
    return out.data();
}

} // namespace orvalin::swfgen
