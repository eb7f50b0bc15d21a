#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace orvalin {
namespace {

constexpr const char* kOwnFolderName = "orvalin";

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// A base folder of the XDG rules: the variable when it holds an absolute
// path (the rules ignore any other value), else its default in the home folder.
std::string xdgBaseFolder(const char* variable, const std::string& defaultInHome)
{
    if (const char* value = std::getenv(variable); value && *value == kPathSeparator)
        return withTrailingSeparator(value);
    return withTrailingSeparator(homeFolder()) + defaultInHome + kPathSeparator;
}

std::string ownFolderIn(const char* variable, const std::string& defaultInHome)
{
    return xdgBaseFolder(variable, defaultInHome) + kOwnFolderName + kPathSeparator;
}

// Reads XDG_DESKTOP_DIR from user-dirs.dirs, whose values look like
// "$HOME/Desktop" or an absolute path in double quotes.
std::string desktopFromUserDirs(const std::string& home)
{
    std::ifstream file(xdgBaseFolder("XDG_CONFIG_HOME", ".config") + "user-dirs.dirs");
    const std::string key = "XDG_DESKTOP_DIR=";
    for (std::string line; std::getline(file, line);) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            return {};
        value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            return home + value.substr(5);
        return value.front() == '/' ? value : std::string{};
    }
    return {};
}

} // namespace

std::string withTrailingSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != kPathSeparator)
        folder += kPathSeparator;
    return folder;
}

bool isPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find(kPathSeparator) == std::string::npos;
}

std::string executableFolder()
{
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return withTrailingSeparator(std::filesystem::current_path().string());
    return withTrailingSeparator(executable.parent_path().string());
}

std::string desktopFolder()
{
    const std::string home = homeFolder();
    std::string desktop = desktopFromUserDirs(home);
    if (desktop.empty())
        desktop = home + "/Desktop";
    return withTrailingSeparator(desktop);
}

std::string userConfigFolder()
{
    return ownFolderIn("XDG_CONFIG_HOME", ".config");
}

std::string userDataFolder()
{
    return ownFolderIn("XDG_DATA_HOME", ".local/share");
}

std::string userCacheFolder()
{
    return ownFolderIn("XDG_CACHE_HOME", ".cache");
}

bool canCreateFilesIn(const std::string& folder)
{
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

bool createFolders(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return folderExists(folder);
}

bool folderExists(const std::string& folder)
{
    std::error_code error;
    return std::filesystem::is_directory(folder, error);
}

std::string folderOf(const std::string& path)
{
    const std::string parent = std::filesystem::path(path).parent_path().string();
    return parent.empty() ? std::string(".") + kPathSeparator : withTrailingSeparator(parent);
}

} // namespace orvalin
