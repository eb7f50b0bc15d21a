#pragma once

#include "platform/Descriptor.h"

#include <optional>
#include <string>

namespace orvalin {

// An exclusive lock that processes take on a file of its own, held until the
// object goes. Should the process die, the system lets the lock go with it.
// The lock file stays in place: were it removed, two processes could hold
// locks on two different files of the same name.
class FileLock {
public:
    // Waits until the lock is free. Nothing when the lock file can neither be
    // opened nor made, or is something other than a regular file.
    static std::optional<FileLock> acquire(const std::string& path);

private:
    explicit FileLock(Descriptor descriptor) : descriptor_(std::move(descriptor)) {}

    Descriptor descriptor_; // closing it releases the lock
};

} // namespace orvalin
