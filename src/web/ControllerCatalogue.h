#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

struct ProgramContext;

inline constexpr const char* kControllersFolderName = "Controllers";

// Where a program's controllers are: the Controllers folder the program ships
// and the user's own, whose files win a name clash so that users can add and
// replace controllers without writing to the program folder. Both end in the
// separator; the user's is empty when there is none.
struct ControllerFolders {
    std::string user;
    std::string shipped;

    // The user's folder when it holds the file, else the shipped one.
    std::string holding(const std::string& fileName) const;
};

ControllerFolders controllerFolders(const ProgramContext& context);

// The names (without ".swf") of the controllers in a Controllers folder:
// every .swf file but "preview" in any letter case, sorted as the controller
// list shows them (ignoring case). A missing folder gives no names.
// Names ending in ".SWF" are not controllers here: a run copies <name>.swf.
std::vector<std::string> listControllers(const std::string& controllersFolder);

// The names in both folders, each once, sorted the same way.
std::vector<std::string> listControllers(const ControllerFolders& folders);

// The entry the controller list highlights for a stored name: the first that
// begins with it, ignoring case, searching from the second entry on and
// wrapping to the first.
std::optional<std::size_t> findControllerEntry(const std::vector<std::string>& names,
                                               std::string_view storedName);

// The first line of a controller's description file, or empty.
std::string controllerDescription(const std::string& controllersFolder, const std::string& name);

} // namespace orvalin
