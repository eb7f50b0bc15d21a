#pragma once

#include <cstdint>
#include <vector>

namespace orvalin::swfgen {

// A point in twips (1/20 pixel), y growing downwards as on the stage.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const Point&) const = default;
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;
};

// One closed outline: straight edges, and quadratic curves where a control
// point is given.
struct Contour {
    struct Edge {
        bool curved = false;
        Point control;
        Point to;
    };
    Point start;
    std::vector<Edge> edges;

    void lineTo(Point to) { edges.push_back({false, {}, to}); }
    void curveTo(Point control, Point to) { edges.push_back({true, control, to}); }
    // The same outline drawn the other way round: inside another contour it
    // cuts a hole.
    Contour reversed() const;
};

// Outlines filled in one colour; several contours make one picture with holes
// or separate parts.
struct Shape {
    Colour colour;
    std::vector<Contour> contours;
};

// Outlines of the figures the controllers are drawn from, in twips.
Contour rectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
// Corners rounded with the given radius (a radius of half the shorter side
// gives a pill or a circle).
Contour roundedRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         std::int32_t radius);
Contour triangle(Point a, Point b, Point c);

} // namespace orvalin::swfgen
