// An encoder module that behaves like the real one, without encoding, except
// that the call named by FAILING_CALL fails (encoding from its second call). It counts its calls, so that a
// test holding the module loaded can see which calls were made.

#include "audio/EncoderInterface.h"

using namespace orvalin;

namespace {

enum class Call { init, encode, deinit };
constexpr Call kFailingCall = Call::FAILING_CALL;

constexpr std::uint32_t kSamplesPerChunk = 2304;
constexpr std::uint32_t kOutputBufferSize = 8640;
constexpr std::uint32_t kFrameBytes = 417;
int openStream;

} // namespace

#define TEST_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {
__attribute__((visibility("default"))) int initCalls = 0;
__attribute__((visibility("default"))) int encodeCalls = 0;
__attribute__((visibility("default"))) int deinitCalls = 0;
__attribute__((visibility("default"))) int closeCalls = 0;
}

TEST_EXPORT BeError beInitStream(const BeConfig*, std::uint32_t* samplesPerChunk,
                                 std::uint32_t* outputBufferSize, BeStream* stream)
{
    ++initCalls;
    if (kFailingCall == Call::init)
        return 1;
    *samplesPerChunk = kSamplesPerChunk;
    *outputBufferSize = kOutputBufferSize;
    *stream = reinterpret_cast<BeStream>(&openStream);
    return BE_ERR_SUCCESSFUL;
}

TEST_EXPORT BeError beEncodeChunk(BeStream, std::uint32_t, const std::int16_t*, std::uint8_t* output,
                                  std::uint32_t* written)
{
    ++encodeCalls;
    // Some output is made first, so that a partial file has to be removed.
    if (kFailingCall == Call::encode && encodeCalls > 1)
        return 1;
    for (std::uint32_t i = 0; i < kFrameBytes; ++i)
        output[i] = 0xAA;
    *written = kFrameBytes;
    return BE_ERR_SUCCESSFUL;
}

TEST_EXPORT BeError beDeinitStream(BeStream, std::uint8_t* output, std::uint32_t* written)
{
    ++deinitCalls;
    if (kFailingCall == Call::deinit)
        return 1;
    output[0] = 0xAA;
    *written = 1;
    return BE_ERR_SUCCESSFUL;
}

TEST_EXPORT BeError beCloseStream(BeStream)
{
    ++closeCalls;
    return BE_ERR_SUCCESSFUL;
}
