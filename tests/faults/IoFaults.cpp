#include "IoFaults.h"

#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

extern "C" {
ssize_t __real_pread(int descriptor, void* buffer, size_t count, off_t offset);
ssize_t __real_pwrite(int descriptor, const void* buffer, size_t count, off_t offset);
ssize_t __wrap_pread(int descriptor, void* buffer, size_t count, off_t offset);
ssize_t __wrap_pwrite(int descriptor, const void* buffer, size_t count, off_t offset);
}

namespace orvalin::test {
namespace {

IoFaults* active = nullptr;

std::string fileNameOf(int descriptor)
{
    const std::string link = "/proc/self/fd/" + std::to_string(descriptor);
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    if (length <= 0)
        return {};
    const std::string path(target, static_cast<std::size_t>(length));
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

IoFaults::IoFaults()
{
    active = this;
}

IoFaults::~IoFaults()
{
    active = nullptr;
}

void IoFaults::failFrom(IoCall call, std::string fileName, long n, int error)
{
    failCall_ = call;
    failName_ = std::move(fileName);
    failFrom_ = n;
    failError_ = error;
}

const std::map<std::string, long>& IoFaults::counts(IoCall call) const
{
    return call == IoCall::Read ? reads_ : writes_;
}

bool IoFaults::failNow(IoCall call, int descriptor)
{
    const std::string name = fileNameOf(descriptor);
    const long n = ++(call == IoCall::Read ? reads_ : writes_)[name];
    if (failFrom_ == 0 || call != failCall_ || name != failName_ || n < failFrom_)
        return false;
    struck_ = true;
    errno = failError_;
    return true;
}

} // namespace orvalin::test

using orvalin::test::active;
using orvalin::test::IoCall;

ssize_t __wrap_pread(int descriptor, void* buffer, size_t count, off_t offset)
{
    if (active && active->failNow(IoCall::Read, descriptor))
        return -1;
    return __real_pread(descriptor, buffer, count, offset);
}

ssize_t __wrap_pwrite(int descriptor, const void* buffer, size_t count, off_t offset)
{
    if (active && active->failNow(IoCall::Write, descriptor))
        return -1;
    return __real_pwrite(descriptor, buffer, count, offset);
}
