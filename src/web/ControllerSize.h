#pragma once

#include <string_view>

namespace orvalin {

// What a controller's name says of it: its last eight characters are a
// two-digit lead number, a three-digit width and a three-digit height.
struct ControllerSize {
    int leadNumber = 0;
    int width = 0;
    int height = 0;
};

// Reads the three numbers by C's atoi rules; a short or odd name gives what
// those rules yield (often 0), never an error.
ControllerSize parseControllerSize(std::string_view name);

} // namespace orvalin
