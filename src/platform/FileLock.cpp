#include "platform/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace orvalin {

std::optional<FileLock> FileLock::acquire(const std::string& path)
{
    // Read access is all a lock needs, so a lock file another user made
    // serves as well; a link planted at its name is not followed, and a FIFO
    // there must not keep the open waiting for a writer.
    Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    struct stat file {};
    if (!descriptor || fstat(descriptor.get(), &file) != 0 || !S_ISREG(file.st_mode))
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
