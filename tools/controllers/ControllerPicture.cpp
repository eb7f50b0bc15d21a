#include "ControllerPicture.h"

#include "ControllerParts.h"

#include <cstdio>
#include <sstream>

namespace orvalin::swfgen {
namespace {

// One shape as a path in twips, the unit of the picture's view box.
void appendPath(std::ostringstream& svg, const Shape& shape, Point offset)
{
    char fill[8];
    std::snprintf(fill, sizeof fill, "#%02X%02X%02X", shape.colour.red, shape.colour.green, shape.colour.blue);
    svg << "  <path fill=\"" << fill << '"';
    if (shape.colour.alpha != 255)
        svg << " fill-opacity=\"" << shape.colour.alpha / 255.0 << '"';
    svg << " d=\"";
    const auto point = [&](Point p) { svg << p.x + offset.x << ' ' << p.y + offset.y; };
    for (const auto& contour : shape.contours) {
        svg << 'M';
        point(contour.start);
        for (const auto& edge : contour.edges) {
            svg << (edge.curved ? " Q" : " L");
            if (edge.curved) {
                point(edge.control);
                svg << ' ';
            }
            point(edge.to);
        }
        svg << 'Z';
    }
    svg << "\"/>\n";
}

} // namespace

std::string controllerPicture(const ControllerLook& look)
{
    std::ostringstream svg;
    svg.precision(3);
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << look.width << "\" height=\""
        << look.height << "\" viewBox=\"0 0 " << twips(look.width) << ' ' << twips(look.height)
        << "\">\n";
    appendPath(svg, barShape(look), {});
    appendPath(svg, sheenShape(look), {});
    for (const auto& place : buttonPlaces(look)) {
        const Point at{twips(place.x), twips(place.y)};
        appendPath(svg, face(look, look.face), at);
        appendPath(svg, lampShape(look, look.lampOff), at);
        for (const auto& part : glyph(place.role, look, look.glyph))
            appendPath(svg, part, at);
    }
    svg << "</svg>\n";
    return svg.str();
}

} // namespace orvalin::swfgen
