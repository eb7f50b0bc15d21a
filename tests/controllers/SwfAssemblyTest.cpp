// The assembler's pieces, read back by the tests' own SWF reader.
#include "Actions.h"
#include "Script.h"
#include "Shape.h"
#include "SwfFile.h"
#include "SwfTags.h"
#include "swf/SwfBytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>

namespace orvalin::swfgen {
namespace {

using Bytes = std::vector<std::uint8_t>;
using swf::SwfBytes;
using swf::signedBitCount;

Bytes written(const std::function<void(SwfBytes&)>& write)
{
    SwfBytes out;
    write(out);
    return out.data();
}

Bytes encodeTag(const Tag& tag)
{
    return written([&](SwfBytes& o) { o.tag(tag.code, tag.body); });
}

TEST(SwfBytesTest, FieldsAreStoredAsTheFileFormatWantsThem)
{
    const std::pair<Bytes, Bytes> cases[] = {
        // Bits go most significant first, across bytes.
        {written([](SwfBytes& o) { o.bits(0b101, 3), o.bits(0b11111, 5), o.bits(1, 1), o.signedBits(-1, 3); }),
         {0b10111111, 0b11110000}},
        // Byte fields start on the next whole byte, little-endian.
        {written([](SwfBytes& o) { o.bits(1, 1), o.ui16(0x1234), o.ui32(0xA1B2C3D4); }),
         {0x80, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1}},
        {written([](SwfBytes& o) { o.string("ab"), o.ui8(7), o.bytes({1, 2}); }), {'a', 'b', 0, 7, 1, 2}},
        // The streaming animation's 18 x 18 pixel stage, as its writer stores it.
        {written([](SwfBytes& o) { o.rect(0, 360, 0, 360); }), {0x50, 0x00, 0xB4, 0x00, 0x0B, 0x40}},
        // Matrices only move: no scale, no rotation, then 6-bit offsets 20 and -20.
        {written([](SwfBytes& o) { o.translation(0, 0); }), {0x00}},
        {written([](SwfBytes& o) { o.translation(20, -20); }), {0x0C, 0xA5, 0x80}},
        {encodeTag(showFrame()), {0x40, 0x00}},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(bytes, expected);

    // Signed fields hold their sign bit.
    EXPECT_EQ((std::vector<int>{signedBitCount({0}), signedBitCount({1}), signedBitCount({-1}), signedBitCount({-2}),
                                signedBitCount({4095}), signedBitCount({-4096}), signedBitCount({-4097}),
                                signedBitCount({3, 4000, -7})}),
              (std::vector<int>{1, 2, 1, 2, 13, 13, 14, 13}));
}

TEST(SwfBytesTest, TagsUseTheLongHeaderFrom63Bytes)
{
    const auto shortTag = encodeTag({swf::TagCode::DoAction, Bytes(62, 0xAA)});
    EXPECT_EQ(shortTag.size(), 64u);
    EXPECT_EQ(Bytes(shortTag.begin(), shortTag.begin() + 3), (Bytes{0x3E, 0x03, 0xAA}));
    const auto longTag = encodeTag({swf::TagCode::DoAction, Bytes(63, 0xAA)});
    EXPECT_EQ(longTag.size(), 69u);
    EXPECT_EQ(Bytes(longTag.begin(), longTag.begin() + 7), (Bytes{0x3F, 0x03, 63, 0, 0, 0, 0xAA}));
}

TEST(SwfBytesTest, MovieFileHasItsHeaderTagsAndEnd)
{
    const auto swf = test::parseSwf(movieFile({7, 4000, 800, 0x0180, 1}, {showFrame()}));
    EXPECT_EQ(swf.signature, "FWS");
    EXPECT_EQ(swf.version, 7);
    EXPECT_EQ(swf.declaredLength, swf.bytes.size());
    EXPECT_EQ(swf.frame, (std::vector<int>{0, 4000, 0, 800}));
    EXPECT_EQ(swf.frameRate, 1.5);
    EXPECT_EQ(swf.frameCount, 1);
    ASSERT_EQ(swf.tags.size(), 2u);
    EXPECT_EQ(swf.tags[0].code, swf::TagCode::ShowFrame);
}

TEST(ActionsTest, RecordsAndJumpsAssembleToTheirBytes)
{
    using namespace script;
    const std::pair<std::function<void(Actions&)>, Bytes> cases[] = {
        {[](Actions& a) { a.push({"ab", -2, PushValue::boolean(true)}); },
         {0x96, 11, 0, 0, 'a', 'b', 0, 7, 0xFE, 0xFF, 0xFF, 0xFF, 5, 1}},
        // A jump counts from its own end, back as well as forward.
        {[](Actions& a) {
             const auto after = a.newLabel();
             a.jump(after).op(Op::Play).op(Op::Stop).bind(after);
         },
         {0x99, 2, 0, 2, 0, 0x06, 0x07}},
        {[](Actions& a) {
             const auto top = a.newLabel();
             a.bind(top).op(Op::Play).push({PushValue::boolean(true)}).branchIfTrue(top);
         },
         {0x06, 0x96, 2, 0, 5, 1, 0x9D, 2, 0, 0xF5, 0xFF}},
        // A function's body follows its record, with jumps of its own.
        {[](Actions& a) {
             Actions body;
             const auto end = body.newLabel();
             body.jump(end).op(Op::Stop).bind(end);
             a.defineFunction("go", {"x"}, body).op(Op::Play);
         },
         {0x9B, 9, 0, 'g', 'o', 0, 1, 0, 'x', 0, 6, 0, 0x99, 2, 0, 1, 0, 0x07, 0x06}},
        // Arguments last first, then their count, the object and the name.
        {[](Actions& a) { invoke(a, variable("clip"), "gotoAndStop", {number(1), text("x")}); },
         {0x96, 3, 0, 0, 'x', 0, 0x96, 5, 0, 7, 1, 0, 0, 0, 0x96, 5, 0, 7, 2, 0, 0, 0, 0x96, 6, 0, 0, 'c', 'l',
          'i', 'p', 0, 0x1C, 0x96, 13, 0, 0, 'g', 'o', 't', 'o', 'A', 'n', 'd', 'S', 't', 'o', 'p', 0, 0x52, 0x17}},
        // Not, then If over the Play and the Jump over the Stop.
        {[](Actions& a) { when(a, variable("ready"), [](Actions& b) { b.op(Op::Play); }, [](Actions& b) { b.op(Op::Stop); }); },
         {0x96, 7, 0, 0, 'r', 'e', 'a', 'd', 'y', 0, 0x1C, 0x12, 0x9D, 2, 0, 6, 0, 0x06, 0x99, 2, 0, 1, 0, 0x07}},
    };
    for (const auto& [write, expected] : cases) {
        Actions a;
        write(a);
        EXPECT_EQ(a.bytes(), expected);
    }
}

TEST(ActionsTest, UnboundLabelsAndFarJumpsAreRefused)
{
    Actions unbound;
    unbound.jump(unbound.newLabel());
    EXPECT_THROW(unbound.bytes(), std::logic_error);
    Actions far;
    const auto end = far.newLabel();
    far.jump(end);
    for (int i = 0; i < 32768; ++i)
        far.op(Op::Play);
    EXPECT_THROW(far.bind(end).bytes(), std::logic_error);
}

TEST(ActionsTest, ButtonRunsItsActionsOnRelease)
{
    const auto tag = defineButton2(9, {{3, 1, true, false, false, true, {20, 0}}}, {0x06});
    EXPECT_EQ(tag.code, swf::TagCode::DefineButton2);
    // No menu; the offset to the conditions; hit and up, character 3 at depth
    // 1, moved by 20 twips, no colour change; the end flag. Then the last
    // condition: released over the button, Play, end.
    EXPECT_EQ(tag.body, (Bytes{9, 0, 0, 12, 0, 0b1001, 3, 0, 1, 0, 0x0C, 0xA0, 0, 0, 0, 0, 0, 8, 0, 6, 0}));
}

// Shape records with one fill bit and no line bits, as text: "M" a move and
// "F1" its choice of fill 1, then the edges "H", "V", "L" and "C" (control
// point first), all at absolute points in twips.
std::string drawing(const Bytes& records)
{
    test::SwfReader in(records);
    std::ostringstream out;
    Point at;
    const auto point = [&](Point p) { out << ' ' << p.x << ',' << p.y; };
    for (;;) {
        if (in.bits(1) == 0) {
            const auto flags = in.bits(5);
            if (flags == 0)
                return out.str().substr(1);
            if (flags & 1u) {
                const int count = static_cast<int>(in.bits(5));
                at = {in.signedBits(count), in.signedBits(count)};
            }
            out << " M";
            point(at);
            if (flags & ~0b00101u)
                out << " flags " << flags;
            if (flags & 0b00100u)
                out << " F" << in.bits(1);
            continue;
        }
        const bool straight = in.bits(1) == 1;
        const int count = static_cast<int>(in.bits(4)) + 2;
        if (!straight) {
            const Point control{at.x + in.signedBits(count), at.y + in.signedBits(count)};
            at = {control.x + in.signedBits(count), control.y + in.signedBits(count)};
            out << " C";
            point(control);
        } else if (in.bits(1) == 1) {
            const int dx = in.signedBits(count);
            at = {at.x + dx, at.y + in.signedBits(count)};
            out << " L";
        } else if (in.bits(1) == 1) {
            at.y += in.signedBits(count);
            out << " V";
        } else {
            at.x += in.signedBits(count);
            out << " H";
        }
        point(at);
    }
}

TEST(ShapeRecordsTest, OutlinesComeBackExactly)
{
    Contour sloped{{10, 10}, {}};
    sloped.lineTo({5000, -300});
    sloped.curveTo({5200, 900}, {4000, 1200});
    sloped.lineTo({10, 10});
    Contour bulge{{0, 0}, {}};
    bulge.lineTo({100, 0});
    bulge.curveTo({150, 50}, {100, 100});
    bulge.lineTo({0, 0});
    const std::pair<std::vector<Contour>, std::string> cases[] = {
        {{rectangle(-40, 20, 100, 50)}, "M -40,20 F1 H 60,20 V 60,70 H -40,70 V -40,20"},
        {{sloped}, "M 10,10 F1 L 5000,-300 C 5200,900 4000,1200 L 10,10"},
        {{bulge.reversed()}, "M 0,0 F1 L 100,100 C 150,50 100,0 H 0,0"},
        // Later contours only move.
        {{roundedRectangle(0, 0, 600, 400, 200), rectangle(100, 100, 50, 50).reversed()},
         "M 200,0 F1 H 400,0 C 483,0 541,59 C 600,117 600,200 C 600,283 541,341 C 483,400 400,400 H 200,400 "
         "C 117,400 59,341 C 0,283 0,200 C 0,117 59,59 C 117,0 200,0 M 100,100 V 100,150 H 150,150 V 150,100 H 100,100"},
        {{roundedRectangle(20, 40, 560, 360, 100)},
         "M 120,40 F1 H 480,40 C 521,40 551,69 C 580,99 580,140 V 580,300 C 580,341 551,371 C 521,400 480,400 "
         "H 120,400 C 79,400 49,371 C 20,341 20,300 V 20,140 C 20,99 49,69 C 79,40 120,40"},
        {{roundedRectangle(0, 0, 400, 400, 200)}, // a circle
         "M 200,0 F1 C 283,0 341,59 C 400,117 400,200 C 400,283 341,341 C 283,400 200,400 C 117,400 59,341 "
         "C 0,283 0,200 C 0,117 59,59 C 117,0 200,0"}
    };
    for (const auto& [contours, expected] : cases)
        EXPECT_EQ(drawing(shapeRecords({{}, contours})), expected);
}

TEST(ShapeRecordsTest, DefineShapeBoundsEncloseTheOutline)
{
    const Shape shape{{1, 2, 3, 4}, {triangle({100, 50}, {300, 200}, {100, 350})}};
    const auto tag = defineShape3(7, shape);
    EXPECT_EQ(tag.code, swf::TagCode::DefineShape3);
    // The id; the bounds 100 to 300 by 50 to 350 in 10-bit fields; one solid
    // fill of the colour, no line styles; one fill bit and no line bits.
    const Bytes head = {7, 0, 0x50, 0xC8, 0x96, 0x06, 0x4A, 0xF0, 1, 0, 1, 2, 3, 4, 0, 0x10};
    ASSERT_GT(tag.body.size(), head.size());
    EXPECT_EQ(Bytes(tag.body.begin(), tag.body.begin() + 16), head);
    EXPECT_EQ(Bytes(tag.body.begin() + 16, tag.body.end()), shapeRecords(shape));
}

} // namespace
} // namespace orvalin::swfgen
