#include "job/OutputPublishing.h"

#include "platform/Files.h"

namespace orvalin {
namespace {

std::string replaced(const std::string& path)
{
    return path + std::string(kReplacedSuffix);
}

void undo(const std::vector<std::string>& placed, const std::vector<std::string>& movedAside)
{
    for (const auto& path : placed)
        removeFile(path);
    for (const auto& path : movedAside)
        replaceFile(replaced(path), path);
}

} // namespace

std::optional<std::string> publishOutputs(const std::string& folder, const std::vector<std::string>& names)
{
    std::vector<std::string> placed;
    std::vector<std::string> movedAside;
    for (const auto& name : names) {
        const std::string path = folder + name;
        const bool held = nameIsTaken(path);
        if (held && !replaceFile(path, replaced(path))) {
            undo(placed, movedAside);
            return path;
        }
        if (held)
            movedAside.push_back(path);
        if (!replaceFile(path + std::string(kUnfinishedSuffix), path)) {
            undo(placed, movedAside);
            return path;
        }
        placed.push_back(path);
    }
    for (const auto& path : movedAside)
        removeFile(replaced(path));
    return std::nullopt;
}

} // namespace orvalin
