#include "web/WebPlayer.h"

#include "platform/Files.h"
#include "platform/MessageBoxes.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace orvalin {
namespace {

namespace fs = std::filesystem;

// Ruffle's own entry script, under the name our loader gives it: no copy of
// Ruffle but ours has a file of that name.
constexpr std::string_view kRuffleUnderOurName = "ruffle-player.js";
constexpr std::string_view kLoaderName = "ruffle.js";
// A run copies the player under the first name and moves the copy it replaces
// to the second, each ended by its process id.
constexpr std::string_view kUnfinishedCopy = "ruffle.new.";
constexpr std::string_view kReplacedCopy = "ruffle.old.";

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

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

// The names the player's files have had in any version of the program, and
// those of the shipped one.
bool isPlayerFileName(const std::string& name, const std::vector<fs::path>& shipped)
{
    return name == kLoaderName || name == kRuffleUnderOurName ||
           (startsWith(name, "core.ruffle.") && endsWith(name, ".js")) || endsWith(name, ".wasm") ||
           startsWith(name, "LICENSE_") || std::find(shipped.begin(), shipped.end(), name) != shipped.end();
}

// A folder itself, not a link, holding regular files with the names of the
// player's files and nothing else.
bool holdsOnlyPlayerFiles(const fs::path& folder, const std::vector<fs::path>& shipped)
{
    std::error_code error;
    if (fs::symlink_status(folder, error).type() != fs::file_type::directory)
        return false;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        if (it->symlink_status(error).type() != fs::file_type::regular ||
            !isPlayerFileName(it->path().filename().string(), shipped))
            return false;
    return !error;
}

bool fileMentions(const fs::path& path, std::string_view text)
{
    constexpr std::size_t kLongestLoader = 64 * 1024;
    auto file = InputFile::open(path.string());
    if (!file || file->size() > kLongestLoader)
        return false;
    std::string content(file->size(), '\0');
    content.resize(file->read(content.data(), content.size()));
    return content.find(text) != std::string::npos;
}

// A copy of the player that a run of this program made, of any version: our
// loader, which loads Ruffle under the name only our copies give it.
bool isPlayerCopy(const fs::path& folder, const std::vector<fs::path>& shipped)
{
    return holdsOnlyPlayerFiles(folder, shipped) && fs::is_regular_file(folder / kRuffleUnderOurName) &&
           fileMentions(folder / kLoaderName, kRuffleUnderOurName);
}

bool processIsGone(const std::string& id)
{
    if (id.empty() || id.size() > 9 || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    return ::kill(static_cast<pid_t>(std::stol(id)), 0) != 0 && errno == ESRCH;
}

// What runs killed while they placed the player left of their copies.
void removeLeftovers(const fs::path& pageFolder, const std::vector<fs::path>& shipped)
{
    std::error_code error;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(pageFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (const std::string_view kind : {kUnfinishedCopy, kReplacedCopy})
            if (startsWith(name, kind) && processIsGone(name.substr(kind.size())) &&
                holdsOnlyPlayerFiles(it->path(), shipped))
                leftovers.push_back(it->path());
    }
    for (const auto& leftover : leftovers)
        fs::remove_all(leftover, error);
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

bool copyWebPlayer(const fs::path& shipped, const fs::path& pageFolder)
{
    const fs::path target = pageFolder / kPageWebPlayerFolder;
    if (sameFolders(shipped, target))
        return true;

    // Named by the process, so that runs side by side do not share one.
    const std::string id = std::to_string(getpid());
    const fs::path fresh = pageFolder / (std::string(kUnfinishedCopy) + id);
    const fs::path old = pageFolder / (std::string(kReplacedCopy) + id);
    std::error_code error;
    fs::remove_all(fresh, error);
    if (!copyFolder(shipped, fresh)) {
        fs::remove_all(fresh, error);
        return false;
    }
    // The older copy is moved aside first: a rename replaces only an empty
    // folder.
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

std::vector<fs::path> shippedFiles(const std::string& programFolder)
{
    std::error_code error;
    return filesIn(fs::path(programFolder) / kShippedWebPlayerFolder, error);
}

} // namespace

std::vector<std::string> webPlayerFiles(const std::string& programFolder)
{
    std::vector<std::string> files;
    for (const auto& name : shippedFiles(programFolder))
        files.push_back(std::string(kPageWebPlayerFolder) + "/" + name.string());
    return files;
}

std::string webPlayerProblem(const std::string& programFolder, const std::string& pageFolder)
{
    const fs::path target = fs::path(pageFolder) / kPageWebPlayerFolder;
    std::error_code error;
    const fs::path shipped = fs::path(programFolder) / kShippedWebPlayerFolder;
    if (fs::symlink_status(target, error).type() == fs::file_type::not_found || sameFolders(shipped, target) ||
        isPlayerCopy(target, shippedFiles(programFolder)))
        return {};
    return "Cannot put the web player beside the page: \"" + target.string() +
           "\" is there and is not a copy of the player. It is left as it is.";
}

bool placeWebPlayer(const std::string& programFolder, const std::string& pageFolder, MessageBoxes& messages)
{
    const std::string problem = webPlayerProblem(programFolder, pageFolder);
    if (!problem.empty()) {
        messages.warn("Error: " + problem);
        return false;
    }
    removeLeftovers(pageFolder, shippedFiles(programFolder));
    if (copyWebPlayer(fs::path(programFolder) / kShippedWebPlayerFolder, pageFolder))
        return true;
    messages.warn("Error: Cannot copy the web player into folder \"" + pageFolder + std::string(kPageWebPlayerFolder) +
                  "/\".");
    return false;
}

} // namespace orvalin
