#include "web/ControllerPreview.h"

#include "platform/Files.h"
#include "platform/MessageBoxes.h"
#include "web/ControllerCatalogue.h"
#include "web/ControllerSize.h"
#include "web/PageTemplate.h"

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

} // namespace

bool writePreviewPage(const std::string& controllersFolder, const std::vector<std::string>& names,
                      std::string_view background, std::string_view text, bool loadsWebPlayer,
                      MessageBoxes& messages)
{
    const std::string path = controllersFolder + kPreviewPageName;
    const auto cannotCreate = [&] {
        messages.warn("Error: Cannot create preview file \"" + path + "\".");
        return false;
    };
    auto file = OutputFile::create(path);
    if (!file)
        return cannotCreate();

    std::string page;
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
    for (const auto& name : names) {
        if (name.size() < kShortestName) {
            messages.warn("Error: This controller file is not named correctly and will be skipped \"" + name +
                              ".swf\".");
            continue;
        }
        const ControllerSize size = parseControllerSize(name);
        if (size.leadNumber == 0 || size.width == 0 || size.height == 0) {
            messages.warn("Error: This file is not named correctly and will be skipped \"" + name + ".swf\".");
            continue;
        }
        appendControllerBlock(page, name, controllerDescription(controllersFolder, name), size, background);
    }
    page += "  </body>\n"
            "</html>\n";

    const std::string bytes = storedPageBytes(page);
    file->write(bytes.data(), bytes.size());
    if (!file->close()) {
        removeFile(path);
        return cannotCreate();
    }
    return true;
}

} // namespace orvalin
