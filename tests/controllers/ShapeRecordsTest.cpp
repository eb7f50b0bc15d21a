#include "Shape.h"
#include "SwfReader.h"
#include "SwfTags.h"

#include <gtest/gtest.h>

namespace orvalin::swfgen {
namespace {

struct DecodedEdge {
    char kind; // 'h'orizontal, 'v'ertical, 'g'eneral line, 'c'urve
    Point control;
    Point to;
};

struct DecodedContour {
    Point start;
    bool choosesFill = false;
    std::vector<DecodedEdge> edges;
};

// Walks shape records with one fill bit and no line bits, turning deltas back
// into points.
std::vector<DecodedContour> decode(const std::vector<std::uint8_t>& records)
{
    test::SwfReader in(records);
    std::vector<DecodedContour> contours;
    Point at;
    for (;;) {
        if (in.bits(1) == 0) {
            const auto flags = in.bits(5);
            if (flags == 0)
                return contours;
            EXPECT_EQ(flags & 0b11010u, 0u) << "only moves and fill style 1 are written";
            DecodedContour contour;
            if (flags & 1u) {
                const int count = static_cast<int>(in.bits(5));
                at = {in.signedBits(count), in.signedBits(count)};
            }
            contour.start = at;
            if (flags & 0b00100u) {
                EXPECT_EQ(in.bits(1), 1u);
                contour.choosesFill = true;
            }
            contours.push_back(contour);
            continue;
        }
        EXPECT_FALSE(contours.empty()) << "an edge before any move";
        const bool straight = in.bits(1) == 1;
        const int count = static_cast<int>(in.bits(4)) + 2;
        DecodedEdge edge{};
        if (!straight) {
            edge.kind = 'c';
            edge.control = {at.x + in.signedBits(count), at.y + in.signedBits(count)};
            edge.to = {edge.control.x + in.signedBits(count), edge.control.y + in.signedBits(count)};
        } else if (in.bits(1) == 1) {
            edge.kind = 'g';
            const auto dx = in.signedBits(count);
            edge.to = {at.x + dx, at.y + in.signedBits(count)};
        } else if (in.bits(1) == 1) {
            edge.kind = 'v';
            edge.to = {at.x, at.y + in.signedBits(count)};
        } else {
            edge.kind = 'h';
            edge.to = {at.x + in.signedBits(count), at.y};
        }
        at = edge.to;
        contours.back().edges.push_back(edge);
    }
}

std::string kinds(const DecodedContour& contour)
{
    std::string text;
    for (const auto& edge : contour.edges)
        text.push_back(edge.kind);
    return text;
}

TEST(ShapeRecordsTest, RectangleIsFourAxisLinesBackToItsStart)
{
    const auto contours = decode(shapeRecords({{}, {rectangle(-40, 20, 100, 50)}}));
    ASSERT_EQ(contours.size(), 1u);
    EXPECT_TRUE(contours[0].choosesFill);
    EXPECT_EQ(contours[0].start, (Point{-40, 20}));
    EXPECT_EQ(kinds(contours[0]), "hvhv");
    EXPECT_EQ(contours[0].edges[1].to, (Point{60, 70}));
    EXPECT_EQ(contours[0].edges.back().to, contours[0].start);
}

TEST(ShapeRecordsTest, SlopedLinesAndCurvesComeBackExactly)
{
    Contour contour{{10, 10}, {}};
    contour.lineTo({5000, -300});
    contour.curveTo({5200, 900}, {4000, 1200});
    contour.lineTo({10, 10});
    const auto contours = decode(shapeRecords({{}, {contour}}));
    ASSERT_EQ(contours.size(), 1u);
    EXPECT_EQ(kinds(contours[0]), "gcg");
    EXPECT_EQ(contours[0].edges[0].to, (Point{5000, -300}));
    EXPECT_EQ(contours[0].edges[1].control, (Point{5200, 900}));
    EXPECT_EQ(contours[0].edges[1].to, (Point{4000, 1200}));
    EXPECT_EQ(contours[0].edges[2].to, (Point{10, 10}));
}

TEST(ShapeRecordsTest, LaterContoursOnlyMove)
{
    const auto outer = roundedRectangle(0, 0, 600, 400, 200);
    const auto contours = decode(shapeRecords({{}, {outer, rectangle(100, 100, 50, 50).reversed()}}));
    ASSERT_EQ(contours.size(), 2u);
    EXPECT_TRUE(contours[0].choosesFill);
    EXPECT_FALSE(contours[1].choosesFill);
    EXPECT_EQ(contours[1].start, (Point{100, 100}));
}

TEST(ShapeRecordsTest, RoundedRectangleClosesOnItsOutline)
{
    const auto contour = roundedRectangle(20, 40, 560, 360, 100);
    const auto decoded = decode(shapeRecords({{}, {contour}}));
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(kinds(decoded[0]), "hccvcchccvcc");
    EXPECT_EQ(decoded[0].edges.back().to, decoded[0].start);
    for (const auto& edge : decoded[0].edges) {
        EXPECT_GE(edge.to.x, 20);
        EXPECT_LE(edge.to.x, 580);
        EXPECT_GE(edge.to.y, 40);
        EXPECT_LE(edge.to.y, 400);
    }
}

TEST(ShapeRecordsTest, CircleHasNoStraightEdges)
{
    const auto decoded = decode(shapeRecords({{}, {roundedRectangle(0, 0, 400, 400, 200)}}));
    ASSERT_EQ(decoded.size(), 1u);
    EXPECT_EQ(kinds(decoded[0]), "cccccccc");
}

TEST(ShapeRecordsTest, ReversedContourRunsBackThroughTheSamePoints)
{
    Contour contour{{0, 0}, {}};
    contour.lineTo({100, 0});
    contour.curveTo({150, 50}, {100, 100});
    contour.lineTo({0, 0});
    const auto back = contour.reversed();
    EXPECT_EQ(back.start, (Point{0, 0}));
    ASSERT_EQ(back.edges.size(), 3u);
    EXPECT_EQ(back.edges[0].to, (Point{100, 100}));
    EXPECT_TRUE(back.edges[1].curved);
    EXPECT_EQ(back.edges[1].control, (Point{150, 50}));
    EXPECT_EQ(back.edges[1].to, (Point{100, 0}));
    EXPECT_EQ(back.edges[2].to, (Point{0, 0}));
}

TEST(ShapeRecordsTest, DefineShapeBoundsEncloseTheOutline)
{
    const auto tag = defineShape3(7, {{1, 2, 3, 4}, {triangle({100, 50}, {300, 200}, {100, 350})}});
    ASSERT_EQ(tag.code, kDefineShape3Tag);
    test::SwfReader in(tag.body);
    EXPECT_EQ(in.ui16(), 7);
    const int count = static_cast<int>(in.bits(5));
    EXPECT_EQ(in.signedBits(count), 100);
    EXPECT_EQ(in.signedBits(count), 300);
    EXPECT_EQ(in.signedBits(count), 50);
    EXPECT_EQ(in.signedBits(count), 350);
    EXPECT_EQ(in.ui8(), 1); // one fill style
    EXPECT_EQ(in.ui8(), 0); // solid
    EXPECT_EQ(in.ui8(), 1);
    EXPECT_EQ(in.ui8(), 2);
    EXPECT_EQ(in.ui8(), 3);
    EXPECT_EQ(in.ui8(), 4); // alpha
    EXPECT_EQ(in.ui8(), 0); // no line styles
    EXPECT_EQ(in.ui8(), 0x10); // one fill bit, no line bits
}

} // namespace
} // namespace orvalin::swfgen
