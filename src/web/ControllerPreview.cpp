#include "web/ControllerPreview.h"

#include "common/ProgramContext.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/MessageBoxes.h"
#include "web/ControllerCatalogue.h"
#include "web/ControllerSize.h"
#include "web/PageTemplate.h"

#include <algorithm>

namespace orvalin {
namespace {

constexpr std::size_t kShortestName = 9; // a label and the eight digits

// Names and descriptions come from files anyone can drop into the folder:
// they must not bring markup into a page the program opens.
std::string escapeHtml(std::string_view text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c; break;
        }
    }
    return escaped;
}

void appendControllerBlock(std::string& page, const std::string& name, const std::string& description,
                           const ControllerSize& size, std::string_view background)
{
    const std::string movie = escapeHtml(name) + ".swf";
    const EmbedValues values{"true", movie, std::to_string(size.width), std::to_string(size.height)};
    page += "    <p>\n"
            "      " + escapeHtml(name) + "\n"
            "    </p>\n"
            "    <p>\n"
            "      " + escapeHtml(description) + "\n"
            "    </p>\n"
            "    <p>\n";
    appendObjectTag(page, values);
    appendMovieParameters(page, values, background);
    appendEmbedTag(page, values, movie, background);
    appendEmbedTag(page, values, movie + "?p00012", background);
    appendObjectEnd(page);
    page += "      Output text\n"
            "    </p>\n"
            "    <hr>\n"
            "\n";
}

void appendPreviewIntro(std::string& page, std::string_view background, std::string_view text,
                        bool loadsWebPlayer)
{
    // "Orvaln", as the preview page has always been titled.
    appendPageHead(page, "Orvaln - Preview Controllers", loadsWebPlayer);
    appendBodyTag(page, background, text);
    page += "    <p>\n"
            "      Orvaln - Preview Controllers\n"
            "    </p>\n"
            "    <p>\n"
            "      Hover over and click the buttons to see how the controllers behave.\n"
            "    </p>\n"
            "    <p>\n"
            "      Instruction \"C - Initially stopped, sound loops\" is used in the preview.\n"
            "    </p>\n"
            "    <hr>\n"
            "\n";
}

// The size a controller's name gives it; nothing, after a warning, when the
// name gives none.
std::optional<ControllerSize> sizeInName(const std::string& name, MessageBoxes& messages)
{
    if (name.size() < kShortestName) {
        messages.warn("Error: This controller file is not named correctly and will be skipped \"" + name +
                      ".swf\".");
        return std::nullopt;
    }
    const ControllerSize size = parseControllerSize(name);
    if (size.leadNumber == 0 || size.width == 0 || size.height == 0) {
        messages.warn("Error: This file is not named correctly and will be skipped \"" + name + ".swf\".");
        return std::nullopt;
    }
    return size;
}

// A movie missing from its folder stays missing beside the page, as it would
// be had the page been written in that folder.
bool placeBeside(const std::string& folder, const std::string& pageFolder, const std::string& fileName)
{
    return folder == pageFolder || !fileIsReadable(folder + fileName) ||
           copyFile(folder + fileName, pageFolder + fileName);
}

} // namespace

std::string previewPageFolder(const ProgramContext& context, const std::vector<std::string>& names)
{
    const ControllerFolders folders = controllerFolders(context);
    const bool allShipped =
        folders.holding(kPreviewSoundName) == folders.shipped &&
        std::all_of(names.begin(), names.end(),
                    [&](const std::string& name) { return folders.holding(name + ".swf") == folders.shipped; });
    if (allShipped && canCreateFilesIn(folders.shipped))
        return folders.shipped;
    return context.userCacheFolder + "preview" + kPathSeparator;
}

std::optional<std::vector<std::string>> writePreviewPage(const ControllerFolders& folders, const std::string& pageFolder,
                                                         const std::vector<std::string>& names,
                                                         std::string_view background, std::string_view text,
                                                         bool loadsWebPlayer, MessageBoxes& messages)
{
    const std::string path = pageFolder + kPreviewPageName;
    // Whatever fails, no half-made page stays behind.
    const auto cannotCreate = [&](const std::string& failed) {
        removeFile(path);
        messages.warn("Error: Cannot create preview file \"" + failed + "\".");
        return std::nullopt;
    };
    createFolders(pageFolder);
    auto file = OutputFile::create(path);
    if (!file)
        return cannotCreate(path);

    std::string page;
    appendPreviewIntro(page, background, text, loadsWebPlayer);
    std::vector<std::string> movies;
    for (const auto& name : names) {
        const std::optional<ControllerSize> size = sizeInName(name, messages);
        if (!size)
            continue;
        const std::string folder = folders.holding(name + ".swf");
        if (!placeBeside(folder, pageFolder, name + ".swf"))
            return cannotCreate(pageFolder + name + ".swf");
        appendControllerBlock(page, name, controllerDescription(folder, name), *size, background);
        movies.push_back(name + ".swf");
    }
    if (!placeBeside(folders.holding(kPreviewSoundName), pageFolder, kPreviewSoundName))
        return cannotCreate(pageFolder + kPreviewSoundName);
    movies.push_back(kPreviewSoundName);
    page += "  </body>\n"
            "</html>\n";

    const std::string bytes = storedPageBytes(page);
    file->write(bytes.data(), bytes.size());
    if (!file->close())
        return cannotCreate(path);
    return movies;
}

} // namespace orvalin
