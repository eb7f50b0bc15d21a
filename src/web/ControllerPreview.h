#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvalin {

class MessageBoxes;

// The name of the preview page in the Controllers folder.
inline constexpr const char* kPreviewPageName = "preview.htm";

// Writes the page that shows every correctly named controller at work, in
// list order and in the given colours, to controllersFolder + "preview.htm";
// with loadsWebPlayer, its head loads the web player beside it. Badly named
// controllers are left out with a warning each. Returns false (after a
// warning) when the page could not be written.
bool writePreviewPage(const std::string& controllersFolder, const std::vector<std::string>& names,
                      std::string_view background, std::string_view text, bool loadsWebPlayer,
                      MessageBoxes& messages);

} // namespace orvalin
