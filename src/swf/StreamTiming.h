#pragma once

namespace orvalin {

// How a streaming animation keeps its sound in time.
struct StreamTiming {
    // Every Flash frame carries one second of sound.
    float frameRate = 1.0f;
    // The samples of encoder delay at the start of the MP3 stream, announced
    // in the stream's head so that players skip them.
    int latencySeek = 1680;
};

} // namespace orvalin
