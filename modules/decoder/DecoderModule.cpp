// InitMP3, DecodeMP3 and ExitMP3 over libmpg123, fed one whole frame at a
// time by the caller.

#include "audio/DecoderInterface.h"
#include "audio/MpegFrameHeader.h"

#include <mpg123.h>

#include <memory>
#include <new>
#include <type_traits>

#define DECODER_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using orvalin::kDecodeError;
using orvalin::kDecodeFrameDone;
using orvalin::kDecodeOk;

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const { mpg123_delete(handle); }
};
using Handle = std::unique_ptr<mpg123_handle, HandleDeleter>;

// Lives in the caller's state block from InitMP3 to ExitMP3.
struct DecoderState {
    Handle handle;
    // The format of the first frame that gave sound; 0 until then.
    long rate = 0;
    int channels = 0;
};
static_assert(sizeof(DecoderState) <= sizeof(orvalin::DecoderStateBlock));
static_assert(alignof(DecoderState) <= alignof(orvalin::DecoderStateBlock));

// Flags on top of libmpg123's defaults:
// - NO_READAHEAD: every feed is a whole frame, so a frame is decoded as soon
//   as it arrives instead of waiting for the next header to confirm it.
// - GAPLESS (the default, kept on purpose): the Info frame's encoder delay
//   and padding, and the decoder's own delay, are cut, so the PCM is as
//   long as the sound that was encoded and re-encoding adds no silence.
// - FORCE_ENDIAN without BIG_ENDIAN: little-endian samples on any host.
// - QUIET: nothing on the program's standard error.
// The Info/Xing frame itself is read for that and yields no sound.
constexpr long kFlags = MPG123_NO_READAHEAD | MPG123_GAPLESS | MPG123_FORCE_ENDIAN | MPG123_QUIET;

Handle openDecoder()
{
    int error = MPG123_OK;
    Handle handle(mpg123_new(nullptr, &error));
    if (!handle || mpg123_param(handle.get(), MPG123_ADD_FLAGS, kFlags, 0) != MPG123_OK)
        return nullptr;

    // 16-bit output at the stream's own rate and channel count, whatever
    // they are: every rate offered, both channel counts, no other encoding.
    if (mpg123_format_none(handle.get()) != MPG123_OK)
        return nullptr;
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        if (mpg123_format(handle.get(), rates[i], MPG123_MONO | MPG123_STEREO,
                          MPG123_ENC_SIGNED_16) != MPG123_OK)
            return nullptr;
    }

    if (mpg123_open_feed(handle.get()) != MPG123_OK)
        return nullptr;
    return handle;
}

// The caller takes any 0xFF byte for a frame start. libmpg123 would keep
// bytes that hold no frame and hunt through them for the next header, out
// of step with the caller, so only what carries a usable header is fed. Free
// format is refused: without read-ahead libmpg123 cannot size such frames.
bool hasFrameHeader(const unsigned char* frame, int length)
{
    return length >= 4 && orvalin::isUsableMpegHeader(frame);
}

// The first frame that gives sound sets the output format for the run: later
// frames of another rate or channel count are converted to it, and any sound
// the library cannot convert is refused rather than handed back mislabelled.
bool keepsFormat(DecoderState& decoder)
{
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder.handle.get(), &rate, &channels, &encoding) != MPG123_OK)
        return false;
    if (decoder.rate == 0) {
        decoder.rate = rate;
        decoder.channels = channels;
        return mpg123_format_none(decoder.handle.get()) == MPG123_OK &&
               mpg123_format(decoder.handle.get(), rate, channels, MPG123_ENC_SIGNED_16) == MPG123_OK;
    }
    return rate == decoder.rate && channels == decoder.channels;
}

} // namespace

DECODER_EXPORT int InitMP3(void* state)
{
    auto* decoder = new (state) DecoderState{openDecoder()};
    return decoder->handle ? 1 : 0;
}

DECODER_EXPORT int DecodeMP3(void* state, const unsigned char* input, int inputLength,
                             unsigned char* output, int outputCapacity, int* done)
{
    if (!done)
        return kDecodeError;
    *done = 0;
    mpg123_handle* handle = static_cast<DecoderState*>(state)->handle.get();
    if (!handle || !output || outputCapacity <= 0)
        return kDecodeError;

    if (inputLength > 0) {
        if (!input || !hasFrameHeader(input, inputLength))
            return kDecodeError;
        if (mpg123_feed(handle, input, static_cast<std::size_t>(inputLength)) != MPG123_OK)
            return kDecodeError;
    }

    std::size_t bytes = 0;
    const int result = mpg123_read(handle, output, static_cast<std::size_t>(outputCapacity), &bytes);
    if (bytes > 0 && !keepsFormat(*static_cast<DecoderState*>(state)))
        return kDecodeError;
    *done = static_cast<int>(bytes);
    // NEED_MORE may come with the last of the frame's PCM; that piece still
    // counts, and the next call then ends the frame.
    if (bytes > 0 || result == MPG123_OK || result == MPG123_NEW_FORMAT)
        return kDecodeOk;
    return result == MPG123_NEED_MORE ? kDecodeFrameDone : kDecodeError;
}

DECODER_EXPORT void ExitMP3(void* state)
{
    std::destroy_at(static_cast<DecoderState*>(state));
}

static_assert(std::is_same_v<decltype(InitMP3), orvalin::InitMp3Function>);
static_assert(std::is_same_v<decltype(DecodeMP3), orvalin::DecodeMp3Function>);
static_assert(std::is_same_v<decltype(ExitMP3), orvalin::ExitMp3Function>);
