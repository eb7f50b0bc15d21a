#pragma once

#include "common/ConversionInput.h"
#include "platform/MessageBoxes.h"

namespace orvalin {

// Checks input.inputPath before a conversion: no wild cards, the extension
// ".mp3" or ".wav" in any case, an existing file that is not empty, and for an
// MP3 tags that can be read. Sets inputIsWav and proposes outputText: the
// tagged "artist - title", else whichever of the two is known, else the file's
// base name. Each failure is shown as a warning owned by the main window and
// returns false, leaving outputText at the base name.
bool checkInput(ConversionInput& input, MessageBoxes& messages);

} // namespace orvalin
