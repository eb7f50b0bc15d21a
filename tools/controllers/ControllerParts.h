#pragma once

#include "ControllerLook.h"
#include "Shape.h"

#include <cstdint>
#include <vector>

namespace orvalin::swfgen {

// The shapes a controller is drawn from, in twips, shared by its movie and
// its picture. A button's parts are placed from the button's own top-left
// corner.

std::int32_t twips(double pixels);

// The bar behind the buttons, and the faint sheen on its upper half that
// gives it some depth.
Shape barShape(const ControllerLook& look);
Shape sheenShape(const ControllerLook& look);
// The bar once more, half see-through: it veils the buttons when no sound
// can be found.
Shape veilShape(const ControllerLook& look);

// A button's face in the colour of one of its states.
Shape face(const ControllerLook& look, Colour colour);
// The strip under a button's glyph, out or lit by the colour.
Shape lampShape(const ControllerLook& look, Colour colour);
// The glyph of a button, centred a little above the middle to leave room for
// its lamp. Each part is a shape of its own so that parts may overlap.
std::vector<Shape> glyph(ButtonRole role, const ControllerLook& look, Colour colour);

} // namespace orvalin::swfgen
