#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

// The names (without ".swf") of the controllers in a Controllers folder:
// every .swf file but "preview" in any letter case, sorted as the controller
// list shows them (ignoring case). A missing folder gives no names.
// Names ending in ".SWF" are not controllers here: a run copies <name>.swf.
std::vector<std::string> listControllers(const std::string& controllersFolder);

// The entry the controller list highlights for a stored name: the first that
// begins with it, ignoring case, searching from the second entry on and
// wrapping to the first.
std::optional<std::size_t> findControllerEntry(const std::vector<std::string>& names,
                                               std::string_view storedName);

// The first line of a controller's description file, or empty.
std::string controllerDescription(const std::string& controllersFolder, const std::string& name);

} // namespace orvalin
