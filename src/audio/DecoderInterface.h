#pragma once

#include <cstddef>

// The contract between the decode stage and the decoder module it loads at
// run time. Both sides include this header; the module exports the three
// entry points under these names, with C linkage.
namespace orvalin {

// Memory the caller lends the decoder for its whole run; the decoder keeps
// all of its state in it.
inline constexpr std::size_t kDecoderStateSize = 50000;
struct alignas(std::max_align_t) DecoderStateBlock {
    unsigned char bytes[kDecoderStateSize];
};

// Room for one whole frame, whatever its header says.
inline constexpr std::size_t kFrameBufferSize = 16834;

// The most PCM bytes one DecodeMP3 call hands back.
inline constexpr int kDecoderOutputCapacity = 8192;

// DecodeMP3 results. Only kDecodeOk asks for another call on the same frame.
inline constexpr int kDecodeOk = 0;         // `done` bytes of PCM delivered
inline constexpr int kDecodeFrameDone = 1;  // nothing more from this frame
inline constexpr int kDecodeError = -1;     // the frame was rejected

extern "C" {

// Prepares the decoder in the block; 1 on success, 0 when it cannot work.
using InitMp3Function = int(void* state);

// Called once with a whole frame, then with inputLength 0 for as long as it
// returns kDecodeOk. Each kDecodeOk call puts `done` (maybe 0, at most
// outputCapacity) bytes of 16-bit little-endian PCM, channels interleaved,
// at the rate and channel count of the run's first frame that gave sound,
// into output: later frames of another format are converted to it, or
// rejected.
using DecodeMp3Function = int(void* state, const unsigned char* input, int inputLength,
                              unsigned char* output, int outputCapacity, int* done);

// Releases what the decoder holds; the block may then be freed.
using ExitMp3Function = void(void* state);
}

} // namespace orvalin
