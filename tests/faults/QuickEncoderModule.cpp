// An encoder module that stands in for LAME where only the length of the
// sound matters: for every 1152 frames of PCM it hands back one silent
// 128 kb/s 44.1 kHz stereo MPEG-1 Layer III frame, at once.
#include "audio/EncoderInterface.h"

#include <cstring>

using namespace orvalin;

namespace {

constexpr std::uint32_t kMp3FrameBytes = 417;
int openStream;

} // namespace

#define MODULE_EXPORT extern "C" __attribute__((visibility("default")))

MODULE_EXPORT BeError beInitStream(const BeConfig*, std::uint32_t* samplesPerChunk, std::uint32_t* outputBufferSize,
                                   BeStream* stream)
{
    *samplesPerChunk = 1152 * 2;
    *outputBufferSize = kMp3FrameBytes;
    *stream = reinterpret_cast<BeStream>(&openStream);
    return BE_ERR_SUCCESSFUL;
}

MODULE_EXPORT BeError beEncodeChunk(BeStream, std::uint32_t, const std::int16_t*, std::uint8_t* output,
                                    std::uint32_t* written)
{
    const std::uint8_t header[4] = {0xFF, 0xFB, 0x90, 0x04};
    std::memset(output, 0, kMp3FrameBytes);
    std::memcpy(output, header, sizeof header);
    *written = kMp3FrameBytes;
    return BE_ERR_SUCCESSFUL;
}

MODULE_EXPORT BeError beDeinitStream(BeStream, std::uint8_t*, std::uint32_t* written)
{
    *written = 0;
    return BE_ERR_SUCCESSFUL;
}

MODULE_EXPORT BeError beCloseStream(BeStream)
{
    return BE_ERR_SUCCESSFUL;
}
