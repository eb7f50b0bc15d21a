#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace orvalin {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

} // namespace

std::optional<InputFile> InputFile::open(const std::string& path)
{
    // Non-blocking, so that a FIFO given as a file cannot stall the open;
    // only regular files are read.
    Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    if (!descriptor || fstat(descriptor.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    posix_fadvise(descriptor.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return InputFile(std::move(descriptor));
}

InputFile::InputFile(Descriptor descriptor)
    : descriptor_(std::move(descriptor)), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize))
{
}

std::uint64_t InputFile::size() const
{
    struct stat info {};
    if (fstat(descriptor_.get(), &info) != 0)
        return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool InputFile::refill()
{
    if (readFailed_)
        return false;
    ssize_t got;
    do {
        got = pread(descriptor_.get(), buffer_.get(), kBufferSize, static_cast<off_t>(position_));
    } while (got < 0 && errno == EINTR);
    bufferStart_ = position_;
    bufferLength_ = got > 0 ? static_cast<std::size_t>(got) : 0;
    if (got < 0)
        readFailed_ = true;
    return bufferLength_ > 0;
}

std::size_t InputFile::read(void* destination, std::size_t count)
{
    auto* out = static_cast<std::uint8_t*>(destination);
    std::size_t delivered = 0;
    while (delivered < count) {
        const bool inBuffer =
            position_ >= bufferStart_ && position_ - bufferStart_ < bufferLength_;
        if (!inBuffer && count - delivered >= kBufferSize) {
            // Large reads bypass the buffer.
            ssize_t got;
            do {
                got = pread(descriptor_.get(), out + delivered, count - delivered,
                            static_cast<off_t>(position_));
            } while (got < 0 && errno == EINTR);
            if (got < 0)
                readFailed_ = true;
            if (got <= 0)
                break;
            delivered += static_cast<std::size_t>(got);
            position_ += static_cast<std::uint64_t>(got);
            continue;
        }
        if (!inBuffer && !refill())
            break;
        const std::size_t offset = static_cast<std::size_t>(position_ - bufferStart_);
        const std::size_t take = std::min(count - delivered, bufferLength_ - offset);
        std::memcpy(out + delivered, buffer_.get() + offset, take);
        delivered += take;
        position_ += take;
    }
    return delivered;
}

std::optional<OutputFile> OutputFile::create(const std::string& path)
{
    // Always a new file: an old one or a link at the name goes first (the
    // link itself, never its target), and the file is then made only where
    // the name is free, so a link planted meanwhile fails the create instead
    // of redirecting the write.
    removeFile(path);
    Descriptor descriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!descriptor)
        return std::nullopt;
    return OutputFile(std::move(descriptor));
}

OutputFile::OutputFile(Descriptor descriptor)
    : descriptor_(std::move(descriptor)), buffer_(std::make_unique<std::uint8_t[]>(kBufferSize))
{
}

OutputFile::~OutputFile()
{
    close();
}

void OutputFile::write(const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bufferLength_ + count > kBufferSize)
        flush();
    if (count >= kBufferSize) {
        writeThrough(flushedLength_, bytes, count);
        flushedLength_ += count;
        return;
    }
    std::memcpy(buffer_.get() + bufferLength_, bytes, count);
    bufferLength_ += count;
}

void OutputFile::writeAt(std::uint64_t offset, const void* data, std::size_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    // The part that still sits in the buffer is patched there, the rest on disk.
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t at = offset + i;
        if (at >= length())
            failed_ = true;
        else if (at >= flushedLength_)
            buffer_[at - flushedLength_] = bytes[i];
        else
            writeThrough(at, bytes + i, 1);
    }
}

void OutputFile::writeUi16(unsigned value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    write(bytes, sizeof bytes);
}

void OutputFile::writeUi32(std::uint32_t value)
{
    writeUi16(value & 0xFFFF);
    writeUi16(value >> 16);
}

void OutputFile::writeUi16At(std::uint64_t offset, unsigned value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
    writeAt(offset, bytes, sizeof bytes);
}

void OutputFile::writeUi32At(std::uint64_t offset, std::uint32_t value)
{
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    writeAt(offset, bytes, sizeof bytes);
}

void OutputFile::flush()
{
    if (bufferLength_ == 0)
        return;
    writeThrough(flushedLength_, buffer_.get(), bufferLength_);
    flushedLength_ += bufferLength_;
    bufferLength_ = 0;
}

void OutputFile::writeThrough(std::uint64_t offset, const std::uint8_t* data, std::size_t count)
{
    while (count > 0 && !failed_) {
        const ssize_t put = pwrite(descriptor_.get(), data, count, static_cast<off_t>(offset));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            failed_ = true;
            break;
        }
        data += put;
        offset += static_cast<std::uint64_t>(put);
        count -= static_cast<std::size_t>(put);
    }
}

bool OutputFile::setPermissions(unsigned permissions)
{
    return fchmod(descriptor_.get(), static_cast<mode_t>(permissions)) == 0;
}

bool OutputFile::close()
{
    if (!descriptor_)
        return !failed_;
    flush();
    if (::close(descriptor_.release()) != 0)
        failed_ = true;
    return !failed_;
}

bool fileIsReadable(const std::string& path)
{
    return InputFile::open(path).has_value();
}

bool nameIsTaken(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

void removeFile(const std::string& path)
{
    // Only files we could have made are removed: a device or folder given as
    // an output path stays.
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode)))
        ::unlink(path.c_str());
}

bool isSpecialFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool isSpecialEntry(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISLNK(info.st_mode);
}

std::optional<unsigned> permissionsOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return info.st_mode & 07777;
}

std::string followLinks(const std::string& path)
{
    // As many links as the system itself follows; a loop ends where it stops.
    constexpr int kMostLinks = 40;
    std::string current = path;
    for (int followed = 0; followed < kMostLinks; ++followed) {
        char target[4096];
        const ssize_t length = readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof target)
            break;
        const std::string next(target, static_cast<std::size_t>(length));
        const std::size_t folderEnd = current.find_last_of('/');
        const bool fromRoot = next.front() == '/' || folderEnd == std::string::npos;
        current = fromRoot ? next : current.substr(0, folderEnd + 1) + next;
    }
    return current;
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool copyFile(const std::string& from, const std::string& to)
{
    auto input = InputFile::open(from);
    if (!input)
        return false;
    auto output = OutputFile::create(to);
    if (!output)
        return false;
    std::uint8_t chunk[kBufferSize];
    while (const std::size_t got = input->read(chunk, sizeof chunk))
        output->write(chunk, got);
    const bool complete = !input->readFailed() && output->close();
    if (!complete)
        removeFile(to);
    return complete;
}

} // namespace orvalin
