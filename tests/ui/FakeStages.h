#pragma once

#include "job/StageRunner.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace orvalin {
struct JobStatus;
class MessagePump;
}

namespace orvalin::test {

// Stages that behave like the real ones towards the job and the dialog: each
// writes its output in steps, moves stagePercent, pumps the user interface,
// stops at cancel and removes its own output when cancelled or failing.
class FakeStages final : public StageRunner {
public:
    FakeStages(JobStatus& status, MessagePump& pump) : status_(status), pump_(pump) {}

    void decode(const std::string& mp3Path, const std::string& wavPath) override;
    void encode(const std::string& wavPath, const std::string& mp3Path, int bitrate,
                int sampleRate, int encoderMode) override;
    void writeAnimation(const std::string& mp3Path, const std::string& swfPath, float frameRate,
                        int latencySeek) override;

    // Names of the stages run, in order: "decode", "encode", "animation".
    std::vector<std::string> ran;
    // The stage that fails half-way, with its message.
    std::string failingStage;
    std::string failureText;
    int steps = 10;
    std::chrono::milliseconds stepTime{2};
    // Called after every step, while the stage is running.
    std::function<void(const std::string& stage)> onStep;

private:
    void work(const std::string& stage, const std::string& outputPath);

    JobStatus& status_;
    MessagePump& pump_;
};

} // namespace orvalin::test
