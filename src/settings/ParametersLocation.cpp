#include "settings/ParametersLocation.h"

#include "platform/Files.h"
#include "platform/Folders.h"
#include "settings/ParametersFile.h"

#include <unistd.h>

namespace orvalin {
namespace {

bool exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// A save makes a new file in the folder and renames it over the old one, and
// leaves a file the user made read-only alone: both must allow it.
bool canSaveAt(const std::string& folder, const std::string& path)
{
    return canCreateFilesIn(folder) && (!exists(path) || access(path.c_str(), W_OK) == 0);
}

// Copied under another name and renamed, so that a program starting at the
// same moment never reads half a file.
void seedFrom(const std::string& shipped, const std::string& path)
{
    const std::string temporary = path + ".seed";
    if (!copyFile(shipped, temporary) || !replaceFile(temporary, path))
        removeFile(temporary);
}

} // namespace

std::string chooseParametersPath(const std::string& programFolder, const std::string& userFolder)
{
    const std::string shipped = programFolder + kParametersFileName;
    if (canSaveAt(programFolder, shipped))
        return shipped;
    const std::string own = userFolder + kParametersFileName;
    if (!exists(own) && createFolders(userFolder))
        seedFrom(shipped, own);
    return own;
}

} // namespace orvalin
