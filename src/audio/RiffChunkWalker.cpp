#include "audio/RiffChunkWalker.h"

#include <algorithm>

namespace orvalin {
namespace {

std::optional<std::string> readChunkId(InputFile& file)
{
    std::string id;
    for (int i = 0; i < 4; ++i) {
        const auto byte = file.readByte();
        if (!byte)
            return std::nullopt;
        id += static_cast<char>(*byte);
    }
    return id;
}

} // namespace

std::optional<std::uint32_t> readLittleEndian(InputFile& file, int byteCount)
{
    std::uint32_t value = 0;
    for (int i = 0; i < byteCount; ++i) {
        const auto byte = file.readByte();
        if (!byte)
            return std::nullopt;
        value |= static_cast<std::uint32_t>(*byte) << (8 * i);
    }
    return value;
}

RiffChunkWalker::RiffChunkWalker(InputFile& file) : file_(file), fileSize_(file.size()) {}

bool RiffChunkWalker::readWaveHeader()
{
    file_.seek(0);
    const auto riff = readChunkId(file_);
    const auto riffSize = readLittleEndian(file_, 4);
    const auto wave = readChunkId(file_);
    return riff == "RIFF" && riffSize && wave == "WAVE";
}

std::optional<RiffChunk> RiffChunkWalker::nextChunk()
{
    file_.seek(nextChunkStart_);
    auto id = readChunkId(file_);
    const auto storedSize = readLittleEndian(file_, 4);
    if (!id || !storedSize)
        return std::nullopt;
    RiffChunk chunk{std::move(*id), file_.position(), 0};
    chunk.size = std::min<std::uint64_t>(*storedSize, fileSize_ - std::min(fileSize_, chunk.dataStart));
    // Odd-sized chunks are followed by one pad byte.
    nextChunkStart_ = chunk.dataStart + *storedSize + (*storedSize & 1);
    return chunk;
}

} // namespace orvalin
