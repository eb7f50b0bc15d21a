#pragma once

#include "ControllerLook.h"

#include <cstdint>
#include <vector>

namespace orvalin::swfgen {

// Instance names the script shows and hides.
inline constexpr const char* kPlayLampName = "playLamp";
inline constexpr const char* kStopLampName = "stopLamp";
inline constexpr const char* kLoopLampName = "loopLamp";
inline constexpr const char* kNoSoundName = "noSound";

// The first frame's script: reads the instruction letter (or the preview
// query) from the controller's own address, loads the streaming animation
// beside it and keeps it playing, stopped or looping as the buttons ask.
std::vector<std::uint8_t> controllerScript();

// What a button does when released.
std::vector<std::uint8_t> buttonActions(ButtonRole role);

} // namespace orvalin::swfgen
