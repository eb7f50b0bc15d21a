#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace orvalin {

std::optional<FileLock> FileLock::acquire(const std::string& path)
{
    // Read access is all a lock needs, so a lock file another user made
    // serves as well; a link planted at its name is not followed.
    Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!descriptor)
        return std::nullopt;
    int locked;
    do {
        locked = flock(descriptor.get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0)
        return std::nullopt;
    return FileLock(std::move(descriptor));
}

} // namespace orvalin
