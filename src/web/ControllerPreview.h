#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

class MessageBoxes;
struct ControllerFolders;
struct ProgramContext;

// The name of the preview page, and of the sound the controllers play on it.
inline constexpr const char* kPreviewPageName = "preview.htm";
inline constexpr const char* kPreviewSoundName = "preview.swf";

// The folder the preview page of these controllers goes to: the shipped
// Controllers folder when the page can be written there and every movie it
// shows is there too; else preview/ in the user's cache folder.
std::string previewPageFolder(const ProgramContext& context, const std::vector<std::string>& names);

// Writes the page that shows every correctly named controller at work, in
// list order and in the given colours, to pageFolder + "preview.htm"; with
// loadsWebPlayer, its head loads the web player beside it. The page names its
// movies without a folder: those kept elsewhere are copied beside it. Badly
// named controllers are left out with a warning each. Returns the names of
// the movies the page loads; nothing (after a warning) when the page or a
// copy could not be written.
std::optional<std::vector<std::string>> writePreviewPage(const ControllerFolders& folders, const std::string& pageFolder,
                      const std::vector<std::string>& names, std::string_view background, std::string_view text,
                      bool loadsWebPlayer, MessageBoxes& messages);

} // namespace orvalin
