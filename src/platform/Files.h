#pragma once

#include "platform/Descriptor.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace orvalin {

// A regular file read through a buffer, with absolute positioning; anything
// else at the path (a folder, a FIFO, a device) does not open. Reads past the
// end or after an error deliver nothing.
class InputFile {
public:
    static std::optional<InputFile> open(const std::string& path);

    InputFile(InputFile&& other) noexcept = default;
    InputFile& operator=(InputFile&& other) noexcept = default;

    std::uint64_t size() const;
    std::uint64_t position() const { return position_; }
    void seek(std::uint64_t offset) { position_ = offset; }

    // The next byte, or nothing at the end of the file or on a read error.
    std::optional<std::uint8_t> readByte()
    {
        if (position_ - bufferStart_ >= bufferLength_ || position_ < bufferStart_) {
            if (!refill())
                return std::nullopt;
        }
        return buffer_[position_++ - bufferStart_];
    }

    // Reads up to count bytes; returns how many were delivered.
    std::size_t read(void* destination, std::size_t count);

    bool readFailed() const { return readFailed_; }

private:
    explicit InputFile(Descriptor descriptor);
    bool refill();

    Descriptor descriptor_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::uint64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
    std::uint64_t position_ = 0;
    bool readFailed_ = false;
};

// A new file written through a buffer: a file or link already at the path is
// replaced, never written through. A failed write is remembered; close()
// reports whether everything reached the file.
class OutputFile {
public:
    static std::optional<OutputFile> create(const std::string& path);

    OutputFile(OutputFile&& other) noexcept = default;
    // Replacing a file that is still open would drop what it has buffered.
    OutputFile& operator=(OutputFile&& other) = delete;
    ~OutputFile();

    void write(const void* data, std::size_t count);

    // Overwrites bytes already written, at an absolute offset; the append
    // position does not move. Bytes past the end are not written, and fail
    // the file.
    void writeAt(std::uint64_t offset, const void* data, std::size_t count);

    // Little-endian numbers, the byte order of the files we write.
    void writeUi16(unsigned value);
    void writeUi32(std::uint32_t value);
    void writeUi16At(std::uint64_t offset, unsigned value);
    void writeUi32At(std::uint64_t offset, std::uint32_t value);

    // Bytes written so far, which is also where the next write goes.
    std::uint64_t length() const { return flushedLength_ + bufferLength_; }

    bool failed() const { return failed_; }

    // Gives the file these permission bits, whatever the process's umask.
    bool setPermissions(unsigned permissions);

    // Flushes and closes; true when every byte reached the file.
    bool close();

private:
    explicit OutputFile(Descriptor descriptor);
    void flush();
    void writeThrough(std::uint64_t offset, const std::uint8_t* data, std::size_t count);

    Descriptor descriptor_;
    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t bufferLength_ = 0;
    std::uint64_t flushedLength_ = 0;
    bool failed_ = false;
};

// True when the file exists and can be opened for reading.
bool fileIsReadable(const std::string& path);

// True when anything, a dangling link among them, holds the name.
bool nameIsTaken(const std::string& path);

// Removes a regular file (or link); a missing file is no error.
void removeFile(const std::string& path);

// True when something other than a regular file is at the path: a folder, a
// FIFO, a device. isSpecialFile follows a link there; isSpecialEntry counts
// a link itself as a file.
bool isSpecialFile(const std::string& path);
bool isSpecialEntry(const std::string& path);

// The permission bits of the file at the path (following links), or nothing
// when there is none.
std::optional<unsigned> permissionsOf(const std::string& path);

// The path with the links at its end followed to the name they lead to, even
// where nothing is there yet; a path that is no link comes back as it is.
std::string followLinks(const std::string& path);

// Moves a file over another name in one step; a link at that name is
// replaced itself. False when it could not be moved.
bool replaceFile(const std::string& from, const std::string& to);

// Copies a file byte for byte, replacing the target. On a failed write the
// partial target is removed. False when no complete copy was made.
bool copyFile(const std::string& from, const std::string& to);

} // namespace orvalin
