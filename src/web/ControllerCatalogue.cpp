#include "web/ControllerCatalogue.h"

#include "common/ProgramContext.h"
#include "platform/Files.h"
#include "platform/Folders.h"

#include <algorithm>
#include <filesystem>

namespace orvalin {
namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lower);
    return result;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && lowered(text.substr(0, prefix.size())) == lowered(prefix);
}

void sortAsListed(std::vector<std::string>& names)
{
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = lowered(a), lb = lowered(b);
        return la != lb ? la < lb : a < b;
    });
}

} // namespace

std::string ControllerFolders::holding(const std::string& fileName) const
{
    return !user.empty() && fileIsReadable(user + fileName) ? user : shipped;
}

ControllerFolders controllerFolders(const ProgramContext& context)
{
    const std::string inFolder = std::string(kControllersFolderName) + kPathSeparator;
    return {context.userDataFolder.empty() ? std::string{} : context.userDataFolder + inFolder,
            context.programFolder + inFolder};
}

std::vector<std::string> listControllers(const std::string& controllersFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(controllersFolder, error)) {
        const auto path = entry.path();
        // Exactly ".swf": the run copies <name>.swf, which must then exist.
        if (!entry.is_regular_file(error) || path.extension() != ".swf")
            continue;
        std::string name = path.stem().string();
        if (lowered(name) != "preview")
            names.push_back(std::move(name));
    }
    sortAsListed(names);
    return names;
}

std::vector<std::string> listControllers(const ControllerFolders& folders)
{
    std::vector<std::string> names = listControllers(folders.shipped);
    if (!folders.user.empty()) {
        const std::vector<std::string> own = listControllers(folders.user);
        names.insert(names.end(), own.begin(), own.end());
    }
    sortAsListed(names);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::optional<std::size_t> findControllerEntry(const std::vector<std::string>& names,
                                               std::string_view storedName)
{
    for (std::size_t step = 1; step <= names.size(); ++step) {
        const std::size_t index = step % names.size();
        if (startsWithIgnoringCase(names[index], storedName))
            return index;
    }
    return std::nullopt;
}

std::string controllerDescription(const std::string& controllersFolder, const std::string& name)
{
    auto file = InputFile::open(controllersFolder + name + ".txt");
    if (!file)
        return {};
    std::string line;
    while (const auto byte = file->readByte()) {
        if (*byte == '\n')
            break;
        line += static_cast<char>(*byte);
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

} // namespace orvalin
