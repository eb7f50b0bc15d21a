// The RIFF chunk walk and "fmt " reading the encode stage does, over
// arbitrary bytes.
#include "support/FuzzCheck.h"
#include "support/FuzzFiles.h"

#include "audio/RiffChunkWalker.h"
#include "audio/WavFormat.h"

using namespace orvalin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::MemoryFile wav;
    wav.replaceContents(data, size);
    auto file = InputFile::open(wav.path());
    fuzz::check(file.has_value(), "the input opens");

    RiffChunkWalker walker(*file);
    if (!walker.readWaveHeader())
        return 0;
    std::uint64_t previousStart = 0;
    std::size_t chunks = 0;
    while (const auto chunk = walker.nextChunk()) {
        // Every header takes 8 bytes and the walk moves forward, so it ends.
        ++chunks;
        fuzz::check(chunks <= size / 8, "the walk ends with the file");
        fuzz::check(chunk->dataStart > previousStart, "each chunk starts after the last");
        fuzz::check(chunk->dataStart <= size, "a chunk's data starts inside the file");
        fuzz::check(chunk->dataStart + chunk->size <= size, "a chunk's size stops at the end of the file");
        fuzz::check(chunk->id.size() == 4, "a chunk id has four bytes");
        previousStart = chunk->dataStart;
        if (chunk->id == "fmt ") {
            const WavFormat format = readWavFormat(*file, *chunk);
            if (format.isEncodable())
                fuzz::check(format.bytesPerFrame() >= 1 && format.bytesPerFrame() <= 4,
                            "an encodable format has frames of 1 to 4 bytes");
        }
    }
    return 0;
}
