#pragma once

#include <string>

namespace orvalin {

// Runs the audio stages of a conversion, each a fresh object for its step.
// Every stage reports through the job's JobStatus and removes its own output
// when it fails or is cancelled.
class StageRunner {
public:
    virtual ~StageRunner() = default;

    virtual void decode(const std::string& mp3Path, const std::string& wavPath) = 0;

    // encoderMode is 3 for mono and 0 for stereo.
    virtual void encode(const std::string& wavPath, const std::string& mp3Path, int bitrate,
                        int sampleRate, int encoderMode) = 0;

    virtual void writeAnimation(const std::string& mp3Path, const std::string& swfPath,
                                float frameRate, int latencySeek) = 0;
};

} // namespace orvalin
