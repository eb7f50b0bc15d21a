#pragma once

namespace orvalin::swf {

// How a stream's MP3 frames are spread over Flash frames: block k ends after
// the largest number of frames whose samples, less the encoder delay, do not
// pass k Flash frames' worth of samples, and never holds fewer than
// baseFrames - 1 frames; its seek is how far the sound delivered before it,
// less the delay, falls short of its first sample. The products are taken in
// 32-bit floats, as the stored files have always been made, which also keeps
// every seek of a long stream from going negative.
class BlockPlan {
public:
    struct Block {
        int frames = 0;      // MP3 frames in the block
        int seekSamples = 0; // SeekSamples
    };

    BlockPlan(int sampleRate, float frameRate, int latencySeek);

    // The next block, starting with block 1, assuming every earlier block was
    // filled.
    Block next();

    // An MPEG-1 Layer III frame carries 1152 samples; MPEG-2 and 2.5, the
    // rates below 32 kHz, carry 576.
    int samplesPerMp3Frame() const { return samplesPerMp3Frame_; }

private:
    int samplesPerMp3Frame_;
    float mp3FramesPerSwfFrame_;
    int baseFrames_;
    int latencySeek_;
    int blockNumber_ = 0;
    long long framesBefore_ = 0;
};

} // namespace orvalin::swf
