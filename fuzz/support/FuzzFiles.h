#pragma once

#include "platform/MessagePump.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::fuzz {

// An anonymous in-memory file whose contents each run replaces; the stages
// open it by path like any other file.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void replaceContents(const std::uint8_t* data, std::size_t size);
    const std::string& path() const { return path_; }

private:
    int descriptor_;
    std::string path_;
};

// A private folder for a target's outputs, removed with everything in it.
// Made under TMPDIR, so that pointing TMPDIR at a memory file system keeps
// the runs off the disk.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // The names of what it holds.
    std::vector<std::string> fileNames() const;

private:
    std::string path_;
};

// A pump with nothing to dispatch: fuzzed runs are never cancelled.
class IdlePump final : public MessagePump {
public:
    void pumpMessages() override {}
};

std::vector<std::uint8_t> readWholeFile(const std::string& path);

} // namespace orvalin::fuzz
