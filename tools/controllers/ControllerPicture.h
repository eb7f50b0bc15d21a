#pragma once

#include "ControllerLook.h"

#include <string>

namespace orvalin::swfgen {

// The controller as it looks at rest, lamps out, as an SVG picture of its
// stage size: what the Controller tab shows where no Flash player runs. The
// shapes are the movie's own, so the two cannot drift apart.
std::string controllerPicture(const ControllerLook& look);

} // namespace orvalin::swfgen
