#include "platform/Folders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace orvalin {
namespace {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return {};
}

// Reads XDG_DESKTOP_DIR from user-dirs.dirs, whose values look like
// "$HOME/Desktop" or an absolute path in double quotes.
std::string desktopFromUserDirs(const std::string& home)
{
    std::string configHome;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        configHome = xdg;
    else
        configHome = home + "/.config";

    std::ifstream file(configHome + "/user-dirs.dirs");
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

} // namespace orvalin
