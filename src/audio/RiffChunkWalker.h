#pragma once

#include "platform/Files.h"

#include <cstdint>
#include <optional>
#include <string>

namespace orvalin {

// One chunk of a RIFF file. size counts only the bytes the file really holds:
// a chunk that claims more (streaming writers store 0xFFFFFFFF) ends with the
// file.
struct RiffChunk {
    std::string id;
    std::uint64_t dataStart = 0;
    std::uint64_t size = 0;
};

// Walks the chunks of a RIFF WAVE file, header by header. Every step moves
// forward, so the walk always ends, at the latest with the file.
class RiffChunkWalker {
public:
    explicit RiffChunkWalker(InputFile& file);

    // Reads "RIFF", the RIFF size and "WAVE"; false when a mark is missing.
    bool readWaveHeader();

    // The next chunk's header, or nothing at the end of the file.
    std::optional<RiffChunk> nextChunk();

private:
    InputFile& file_;
    std::uint64_t fileSize_;
    std::uint64_t nextChunkStart_ = 12;
};

// A little-endian field of byteCount bytes (at most 4) read at the file's
// position; nothing when the file ends first.
std::optional<std::uint32_t> readLittleEndian(InputFile& file, int byteCount);

} // namespace orvalin
