#pragma once

#include "Shape.h"

#include <array>
#include <string>
#include <vector>

namespace orvalin::swfgen {

// What sets one controller apart: its name (label, lead number, width and
// height, as the catalogue reads it), its description and its looks. Sizes
// are in pixels.
struct ControllerLook {
    std::string name;
    std::string description;
    int width = 0;
    int height = 0;
    int barRadius = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int buttonRadius = 0;
    int gap = 0;
    Colour bar;
    Colour face;
    Colour faceOver;
    Colour faceDown;
    Colour glyph;
    Colour lampOff;
    Colour lampOn;
};

// The controllers we ship.
const std::vector<ControllerLook>& controllerLooks();

enum class ButtonRole { Play, Stop, Loop };

// Where a button sits: its top-left corner in pixels.
struct ButtonPlace {
    ButtonRole role;
    int x = 0;
    int y = 0;
};

// Play, stop and loop in a row, centred on the bar.
std::array<ButtonPlace, 3> buttonPlaces(const ControllerLook& look);

// The strip under a button's glyph that lights up with it, in pixels from the
// button's top-left corner.
struct LampStrip {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};
LampStrip lampStrip(const ControllerLook& look);

} // namespace orvalin::swfgen
