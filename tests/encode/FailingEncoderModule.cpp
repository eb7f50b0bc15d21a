// An encoder module that makes frames of 0xAA bytes and fails as FAILING_CALL
// in its environment says: "init", "encode" (from its second call, after some
// output), "deinit", "overrun" (claiming more output than any buffer holds) or
// "tiny" (chunks of no sample). A test holding it loaded sees its call counts.

#include "audio/EncoderInterface.h"

#include <cstdlib>
#include <cstring>

using namespace orvalin;

namespace {

constexpr std::uint32_t kOutputBufferSize = 8640;

BeError failing(const char* call)
{
    const char* failingCall = std::getenv("FAILING_CALL");
    return failingCall && std::strcmp(failingCall, call) == 0 ? 1 : BE_ERR_SUCCESSFUL;
}

} // namespace

#pragma GCC visibility push(default)
extern "C" {

int encodeCalls = 0, deinitCalls = 0, closeCalls = 0;

BeError beInitStream(const BeConfig*, std::uint32_t* samplesPerChunk, std::uint32_t* outputBufferSize, BeStream* stream)
{
    *samplesPerChunk = failing("tiny") ? 0 : 2304;
    *outputBufferSize = kOutputBufferSize;
    *stream = 1;
    return failing("init");
}

BeError beEncodeChunk(BeStream, std::uint32_t, const std::int16_t*, std::uint8_t* output, std::uint32_t* written)
{
    std::memset(output, 0xAA, 417);
    *written = failing("overrun") ? 4 * kOutputBufferSize + 1 : 417;
    return ++encodeCalls > 1 ? failing("encode") : BE_ERR_SUCCESSFUL;
}

BeError beDeinitStream(BeStream, std::uint8_t* output, std::uint32_t* written)
{
    ++deinitCalls;
    *output = 0xAA;
    *written = 1;
    return failing("deinit");
}

BeError beCloseStream(BeStream)
{
    ++closeCalls;
    return BE_ERR_SUCCESSFUL;
}
}
#pragma GCC visibility pop
