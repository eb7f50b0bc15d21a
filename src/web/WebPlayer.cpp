#include "web/WebPlayer.h"

#include "platform/Files.h"
#include "platform/MessageBoxes.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace orvalin {
namespace {

namespace fs = std::filesystem;

// The regular files of a folder, by name; other entries are not part of a
// player and are never copied.
std::vector<fs::path> filesIn(const fs::path& folder, std::error_code& error)
{
    std::vector<fs::path> names;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error) && !it->is_symlink(error))
            names.push_back(it->path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

bool sameBytes(const fs::path& first, const fs::path& second)
{
    auto a = InputFile::open(first.string());
    auto b = InputFile::open(second.string());
    if (!a || !b || a->size() != b->size())
        return false;
    std::vector<std::uint8_t> left(64 * 1024), right(64 * 1024);
    for (;;) {
        const std::size_t got = a->read(left.data(), left.size());
        if (b->read(right.data(), right.size()) != got || !std::equal(left.begin(), left.begin() + got, right.begin()))
            return false;
        if (got == 0)
            return !a->readFailed() && !b->readFailed();
    }
}

bool sameFolders(const fs::path& shipped, const fs::path& copy)
{
    std::error_code error;
    const auto names = filesIn(shipped, error);
    if (error || fs::is_symlink(copy, error) || filesIn(copy, error) != names || error)
        return false;
    return std::all_of(names.begin(), names.end(),
                       [&](const fs::path& name) { return sameBytes(shipped / name, copy / name); });
}

bool copyFolder(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    const auto names = filesIn(from, error);
    if (error || names.empty() || !fs::create_directory(to, error))
        return false;
    return std::all_of(names.begin(), names.end(),
                       [&](const fs::path& name) { return copyFile((from / name).string(), (to / name).string()); });
}

bool copyWebPlayer(const std::string& programFolder, const std::string& pageFolder)
{
    const fs::path shipped = fs::path(programFolder) / kShippedWebPlayerFolder;
    const fs::path target = fs::path(pageFolder) / kPageWebPlayerFolder;
    if (sameFolders(shipped, target))
        return true;

    // Unique per process, so that runs side by side do not share one.
    const std::string suffix = "." + std::to_string(getpid());
    const fs::path fresh = target.string() + ".new" + suffix;
    const fs::path old = target.string() + ".old" + suffix;
    std::error_code error;
    fs::remove_all(fresh, error);
    if (!copyFolder(shipped, fresh)) {
        fs::remove_all(fresh, error);
        return false;
    }
    // An older copy, or a link or file under the name, is moved aside first:
    // a rename replaces only an empty folder.
    std::error_code moved;
    const bool hadOld = fs::symlink_status(target, error).type() != fs::file_type::not_found;
    if (hadOld)
        fs::rename(target, old, moved);
    if (!moved)
        fs::rename(fresh, target, moved);
    if (moved) {
        fs::remove_all(fresh, error);
        if (hadOld)
            fs::rename(old, target, error);
        return false;
    }
    fs::remove_all(old, error);
    return true;
}

} // namespace

bool placeWebPlayer(const std::string& programFolder, const std::string& pageFolder, MessageBoxes& messages)
{
    if (copyWebPlayer(programFolder, pageFolder))
        return true;
    messages.warn("Error: Cannot copy the web player into folder \"" + pageFolder + std::string(kPageWebPlayerFolder) +
                  "/\".");
    return false;
}

} // namespace orvalin
