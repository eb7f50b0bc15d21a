#pragma once

#include "ControllerLook.h"

#include <cstdint>
#include <vector>

namespace orvalin::swfgen {

// The controller's frame rate: the stream it loads plays at the loading
// movie's rate and was cut at one frame per second of sound.
inline constexpr std::uint16_t kControllerFrameRate = 0x0100;
inline constexpr std::uint8_t kControllerSwfVersion = 7; // MovieClipLoader

// The whole controller file: bar, buttons, lamps, the no-sound veil and the
// script, in one frame.
std::vector<std::uint8_t> controllerMovie(const ControllerLook& look);

} // namespace orvalin::swfgen
