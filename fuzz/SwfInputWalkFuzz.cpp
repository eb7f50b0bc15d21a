// The animation writer's walk over arbitrary MP3 bytes; its output is taken
// apart by the tests' SWF reader.
#include "support/FuzzCheck.h"
#include "support/StageHarness.h"

#include "SwfFile.h"
#include "swf/SwfStreamWriter.h"

#include <exception>

using namespace orvalin;

namespace {

// The header's length and frame count agree with the file, every tag lies
// inside it, the stream head comes before any block, each block starts with a
// frame sync, and the file ends with End tags.
void checkAnimation(const std::vector<std::uint8_t>& bytes)
{
    test::SwfFile swf;
    try {
        swf = test::parseSwf(bytes);
    } catch (const std::exception& error) {
        fuzz::check(false, error.what());
    }
    fuzz::check(swf.signature == "FWS" && swf.version == 4, "the file is an uncompressed version 4 SWF");
    fuzz::check(swf.declaredLength == bytes.size(), "the header's length is the file's");
    fuzz::check(swf.frameCount <= SwfStreamWriter::kMaxFlashFrames + 1, "the frame count stays bounded");
    fuzz::check(swf.tags[0].code == swf::TagCode::SetBackgroundColor, "the background colour comes first");

    int showFrames = 0;
    bool streamStarted = false;
    for (std::size_t i = 1; i + 1 < swf.tags.size(); ++i) {
        const test::SwfTag& tag = swf.tags[i];
        if (tag.code == swf::TagCode::ShowFrame)
            ++showFrames;
        else if (tag.code == swf::TagCode::SoundStreamHead)
            streamStarted = true;
        else if (tag.code == swf::TagCode::SoundStreamBlock)
            fuzz::check(streamStarted && tag.length >= 5 && tag.body[4] == 0xFF,
                        "a block follows the stream head and starts with a frame");
        else
            fuzz::check(false, "only the writer's own tags appear");
    }
    fuzz::check(showFrames == swf.frameCount, "the frame count is the number of shown frames");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The rate and seek every conversion uses.
    static fuzz::StageHarness harness("out.swf", [](JobStatus& status, MessagePump& pump, const std::string& mp3,
                                                    const std::string& swf) {
        return SwfStreamWriter(status, pump).writeAnimation(mp3, swf);
    });
    fuzz::check(!harness.run(data, size).failed(), "a readable input never fails the writer");
    checkAnimation(harness.output());
    return 0;
}
