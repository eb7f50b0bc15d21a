#include "audio/InputCheck.h"

#include "audio/Id3Tags.h"
#include "platform/Files.h"
#include "platform/Folders.h"

#include <string>
#include <string_view>
#include <utility>

namespace orvalin {
namespace {

struct FileName {
    std::string baseName;
    std::string extension; // from the last "." on, empty without one
};

FileName splitFileName(std::string_view path)
{
    const std::size_t separator = path.rfind(kPathSeparator);
    const std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {std::string(name), {}};
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot))};
}

// Only ASCII letters change, so no byte of a UTF-8 sequence is ever touched.
std::string asciiLowercase(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string proposedText(const TrackTags& tags, const std::string& baseName)
{
    if (!tags.artist.empty() && !tags.title.empty())
        return tags.artist + " - " + tags.title;
    if (!tags.artist.empty())
        return tags.artist;
    if (!tags.title.empty())
        return tags.title;
    return baseName;
}

} // namespace

bool checkInput(ConversionInput& input, MessageBoxes& messages)
{
    const std::string& path = input.inputPath;
    const auto fail = [&messages](const std::string& text) {
        messages.warn(text);
        return false;
    };

    const FileName name = splitFileName(path);
    input.outputText = name.baseName;

    if (path.find('*') != std::string::npos)
        return fail("Error: Wild card \"*\" not allowed in file name \"" + path + "\".");
    if (path.find('?') != std::string::npos)
        return fail("Error: Wild card \"?\" not allowed in file name \"" + path + "\".");

    const std::string extension = asciiLowercase(name.extension);
    input.inputIsWav = extension == ".wav";
    if (!input.inputIsWav && extension != ".mp3")
        return fail("Error: Input file name \"" + path + "\" must end in \".mp3\" or \".wav\".");

    if (isSpecialFile(path))
        return fail("Error: Input file is not a regular file \"" + path + "\".");
    {
        const auto probe = InputFile::open(path);
        if (!probe)
            return fail("Error: Input file not found \"" + path + "\".");
        if (probe->size() == 0)
            return fail("Error: Input file contains no data \"" + path + "\".");
    }

    auto file = InputFile::open(path);
    if (!file)
        return fail("Error: Input file cannot be opened \"" + path + "\".");

    TrackTags tags;
    if (!input.inputIsWav) {
        auto read = readTrackTags(*file);
        if (!read)
            return fail("Error: End of input file reached before end of expected data.");
        tags = std::move(*read);
    }
    input.outputText = proposedText(tags, name.baseName);
    return true;
}

} // namespace orvalin
