#include "Shape.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvalin::swfgen {

Contour Contour::reversed() const
{
    Contour back;
    back.start = edges.empty() ? start : edges.back().to;
    for (auto edge = edges.rbegin(); edge != edges.rend(); ++edge) {
        const auto next = std::next(edge);
        const Point to = next == edges.rend() ? start : next->to;
        back.edges.push_back({edge->curved, edge->control, to});
    }
    return back;
}

Contour rectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height)
{
    Contour contour{{x, y}, {}};
    contour.lineTo({x + width, y});
    contour.lineTo({x + width, y + height});
    contour.lineTo({x, y + height});
    contour.lineTo({x, y});
    return contour;
}

namespace {

// A quarter circle as two quadratic curves, each spanning 45 degrees: close
// enough to a true arc at the sizes of a button.
void appendCorner(Contour& contour, double centreX, double centreY, double radius, double fromAngle)
{
    const double step = std::numbers::pi / 4;
    const double reach = radius / std::cos(step / 2);
    for (int half = 0; half < 2; ++half) {
        const double start = fromAngle + half * step;
        const double middle = start + step / 2;
        const double end = start + step;
        const Point control{static_cast<std::int32_t>(std::lround(centreX + reach * std::cos(middle))),
                            static_cast<std::int32_t>(std::lround(centreY + reach * std::sin(middle)))};
        const Point to{static_cast<std::int32_t>(std::lround(centreX + radius * std::cos(end))),
                       static_cast<std::int32_t>(std::lround(centreY + radius * std::sin(end)))};
        contour.curveTo(control, to);
    }
}

void lineToUnlessThere(Contour& contour, Point to)
{
    const Point here = contour.edges.empty() ? contour.start : contour.edges.back().to;
    if (!(here == to))
        contour.lineTo(to);
}

} // namespace

Contour roundedRectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                         std::int32_t radius)
{
    const std::int32_t r = std::clamp(radius, 0, std::min(width, height) / 2);
    if (r == 0)
        return rectangle(x, y, width, height);
    const double pi = std::numbers::pi;
    // Clockwise on screen, starting where the top edge leaves the top-left corner.
    Contour contour{{x + r, y}, {}};
    lineToUnlessThere(contour, {x + width - r, y});
    appendCorner(contour, x + width - r, y + r, r, -pi / 2);
    lineToUnlessThere(contour, {x + width, y + height - r});
    appendCorner(contour, x + width - r, y + height - r, r, 0);
    lineToUnlessThere(contour, {x + r, y + height});
    appendCorner(contour, x + r, y + height - r, r, pi / 2);
    lineToUnlessThere(contour, {x, y + r});
    appendCorner(contour, x + r, y + r, r, pi);
    // Rounding may leave the last curve a twip short of the start.
    if (!(contour.edges.back().to == contour.start))
        contour.edges.back().to = contour.start;
    return contour;
}

Contour triangle(Point a, Point b, Point c)
{
    Contour contour{a, {}};
    contour.lineTo(b);
    contour.lineTo(c);
    contour.lineTo(a);
    return contour;
}

} // namespace orvalin::swfgen
