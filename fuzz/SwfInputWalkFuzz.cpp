// The animation writer's walk over arbitrary MP3 bytes; its output is taken
// apart by a small reader of its own.
#include "support/FuzzCheck.h"
#include "support/FuzzFiles.h"

#include "job/JobStatus.h"
#include "swf/SwfStreamWriter.h"

#include <cstring>

using namespace orvalin;

namespace {

constexpr int kShowFrame = 1;
constexpr int kSoundStreamHead = 18;
constexpr int kSoundStreamBlock = 19;
constexpr std::size_t kTagsStart = 23; // after the header and the background colour

// The header's length and frame count agree with the file, every tag lies
// inside it, the stream head comes before any block, each block starts with a
// frame sync, and the file ends with End tags.
void checkAnimation(const std::vector<std::uint8_t>& swf)
{
    fuzz::check(swf.size() >= kTagsStart + 2, "the file holds its header and an End tag");
    fuzz::check(std::memcmp(swf.data(), "FWS\x04", 4) == 0, "the file is an uncompressed version 4 SWF");
    fuzz::check(fuzz::littleEndian(swf, 4, 4) == swf.size(), "the header's length is the file's");
    const std::uint32_t frameCount = fuzz::littleEndian(swf, 16, 2);
    fuzz::check(frameCount <= SwfStreamWriter::kMaxFlashFrames + 1, "the frame count stays bounded");

    std::size_t offset = kTagsStart;
    std::uint32_t showFrames = 0;
    bool streamStarted = false;
    for (;;) {
        const std::uint32_t header = fuzz::littleEndian(swf, offset, 2);
        offset += 2;
        const int code = static_cast<int>(header >> 6);
        std::uint32_t length = header & 0x3F;
        if (length == 0x3F) {
            length = fuzz::littleEndian(swf, offset, 4);
            offset += 4;
        }
        fuzz::check(offset + length <= swf.size(), "a tag ends inside the file");
        if (code == 0)
            break;
        if (code == kShowFrame)
            ++showFrames;
        else if (code == kSoundStreamHead)
            streamStarted = true;
        else if (code == kSoundStreamBlock)
            fuzz::check(streamStarted && length >= 5 && swf[offset + 4] == 0xFF,
                        "a block follows the stream head and starts with a frame");
        else
            fuzz::check(false, "only the writer's own tags appear");
        offset += length;
    }
    for (; offset < swf.size(); offset += 2)
        fuzz::check(fuzz::littleEndian(swf, offset, 2) == 0, "only End tags follow the first one");
    fuzz::check(showFrames == frameCount, "the frame count is the number of shown frames");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::MemoryFile mp3;
    static fuzz::ScratchFolder folder;
    static const std::string swfPath = folder.file("out.swf");

    mp3.replaceContents(data, size);
    JobStatus status;
    fuzz::IdlePump pump;
    // The rate and seek every conversion uses.
    SwfStreamWriter(status, pump).writeAnimation(mp3.path(), swfPath, 1.0f, 1680);

    fuzz::check(!status.failed, "a readable input never fails the writer");
    fuzz::check(status.stagePercent == 100, "the writer ends at 100 percent");
    checkAnimation(fuzz::readWholeFile(swfPath));
    return 0;
}
