#pragma once

#include "common/JobStatus.h"
#include "job/StageRunner.h"
#include "platform/MessagePump.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace orvalin::test {

// Stages that behave like the real ones towards the job and its dialog: each
// writes its output in steps, moving stagePercent and pumping after each, stops
// at cancel, and removes its own output when cancelled or failing.
class FakeStages final : public StageRunner {
public:
    FakeStages(JobStatus& status, MessagePump& pump) : status_(status), pump_(pump) {}

    StageResult decode(const std::string& mp3Path, const std::string& wavPath) override
    {
        return work("decode", mp3Path, wavPath, "");
    }
    StageResult encode(const std::string& wavPath, const std::string& mp3Path, int bitrate,
                       int sampleRate, Mp3ChannelMode channelMode) override
    {
        return work("encode", wavPath, mp3Path,
                    " " + std::to_string(bitrate) + " " + std::to_string(sampleRate) + " " +
                        std::to_string(static_cast<int>(channelMode)));
    }
    StageResult writeAnimation(const std::string& mp3Path, const std::string& swfPath) override
    {
        return work("animation", mp3Path, swfPath, "");
    }

    // The stages run, in order: by name ("decode", "encode", "animation"), and
    // as calls with their arguments ("encode IN -> OUT 128 44100 0").
    std::vector<std::string> ran;
    std::vector<std::string> calls;
    // The stage that fails half-way.
    std::string failingStage;
    // Called after every step, while the stage is running.
    std::function<void(const std::string& stage)> onStep;

private:
    StageResult work(const std::string& stage, const std::string& input, const std::string& output,
                     const std::string& values)
    {
        ran.push_back(stage);
        calls.push_back(stage + " " + input + " -> " + output + values);
        status_.stagePercent = 0;
        StageResult result;
        std::ofstream file(output, std::ios::binary | std::ios::trunc);
        for (int step = 1; step <= kSteps && !status_.cancelRequested; ++step) {
            if (stage == failingStage && step > kSteps / 2) {
                result = StageResult::failure("Cannot encode in LAME encoder.");
                break;
            }
            file << stage << ' ' << step << '\n';
            status_.stagePercent = step * 100 / kSteps;
            pump_.pumpMessages();
            if (onStep)
                onStep(stage);
        }
        file.close();
        if (status_.cancelRequested)
            result = StageResult::cancelled();
        if (!result.succeeded())
            std::filesystem::remove(output);
        return result;
    }

    static constexpr int kSteps = 10;
    JobStatus& status_;
    MessagePump& pump_;
};

} // namespace orvalin::test
