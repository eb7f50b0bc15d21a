#include "swf/BlockPlan.h"

namespace orvalin::swf {

BlockPlan::BlockPlan(int sampleRate, float frameRate, int latencySeek)
    : samplesPerMp3Frame_(sampleRate >= 32000 ? 1152 : 576),
      mp3FramesPerSwfFrame_(
          static_cast<float>(static_cast<double>(sampleRate) / frameRate / samplesPerMp3Frame_)),
      baseFrames_(static_cast<int>(mp3FramesPerSwfFrame_)),
      latencySeek_(latencySeek)
{
}

BlockPlan::Block BlockPlan::next()
{
    const int k = ++blockNumber_;
    // Each product is rounded to a float on its own.
    const float flashFrames = static_cast<float>(k) * mp3FramesPerSwfFrame_;
    const float target = static_cast<float>(samplesPerMp3Frame_) * flashFrames;

    // Integers and floats compare exactly as doubles.
    long long frames = baseFrames_;
    long long x = (baseFrames_ + framesBefore_) * samplesPerMp3Frame_ - latencySeek_;
    while (static_cast<double>(x) <= static_cast<double>(target)) {
        x += samplesPerMp3Frame_;
        ++frames;
    }

    Block block{static_cast<int>(frames - 1), latencySeek_};
    if (k > 1) {
        const float blockStart = static_cast<float>((k - 1) * samplesPerMp3Frame_) * mp3FramesPerSwfFrame_;
        block.seekSamples = static_cast<int>(static_cast<long long>(blockStart) -
                                             framesBefore_ * samplesPerMp3Frame_ + latencySeek_);
    }
    framesBefore_ += block.frames;
    return block;
}

} // namespace orvalin::swf
