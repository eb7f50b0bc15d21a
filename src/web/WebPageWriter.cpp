#include "web/WebPageWriter.h"

#include "common/OutputNames.h"
#include "platform/Files.h"
#include "settings/ConversionSettings.h"
#include "web/ControllerSize.h"
#include "web/PageTemplate.h"

namespace orvalin {
namespace {

EmbedValues embedValues(const ConversionSettings& settings, const OutputNames& names)
{
    switch (settings.outputMode) {
    case OutputMode::Controller: {
        const ControllerSize size = parseControllerSize(settings.controllerName);
        return {"true", names.controller(settings.instructionLetter), std::to_string(size.width),
                std::to_string(size.height)};
    }
    case OutputMode::BareLooping:
        return {"true", names.stream(), "0", "0"};
    case OutputMode::BareOnce:
        return {"false", names.stream(), "0", "0"};
    default:
        return {};
    }
}

} // namespace

std::string sanitizePageText(std::string text)
{
    if (text.empty())
        text.push_back(' ');
    for (char& c : text) {
        switch (c) {
        case '&': c = '*'; break;
        case '<': c = '('; break;
        case '>': c = ')'; break;
        case '|': c = '!'; break;
        default: break;
        }
    }
    return text;
}

WebPageWriter::WebPageWriter(const ConversionSettings& settings, std::string outputText)
    : settings_(settings), outputText_(std::move(outputText))
{
}

std::string WebPageWriter::pageText(const OutputNames& names) const
{
    const std::string text = sanitizePageText(outputText_);
    const EmbedValues values = embedValues(settings_, names);
    const std::string& background = settings_.backgroundColour;

    std::string page;
    appendPageHead(page, text, settings_.webPlayer);
    appendBodyTag(page, background, settings_.textColour);
    page += "\n\n\n"
            "    <p>\n";
    appendObjectTag(page, values);
    appendMovieParameters(page, values, background);
    appendEmbedTag(page, values, values.movie, background);
    appendObjectEnd(page);
    if (!outputText_.empty())
        page += "      " + text + "\n";
    page += "    </p>\n"
            "\n\n\n"
            "  </body>\n"
            "</html>\n";
    return page;
}

bool WebPageWriter::writePage(const std::string& path, const OutputNames& names)
{
    const std::string bytes = storedPageBytes(pageText(names));
    auto file = OutputFile::create(path);
    if (!file)
        return false;
    file->write(bytes.data(), bytes.size());
    if (file->close())
        return true;
    // A page cut short by a full disk is worse than none.
    removeFile(path);
    return false;
}

} // namespace orvalin
