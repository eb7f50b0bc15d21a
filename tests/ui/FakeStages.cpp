#include "FakeStages.h"

#include "job/JobStatus.h"
#include "platform/Files.h"
#include "platform/MessagePump.h"

#include <fstream>
#include <thread>

namespace orvalin::test {

void FakeStages::decode(const std::string&, const std::string& wavPath)
{
    work("decode", wavPath);
}

void FakeStages::encode(const std::string&, const std::string& mp3Path, int, int, int)
{
    work("encode", mp3Path);
}

void FakeStages::writeAnimation(const std::string&, const std::string& swfPath, float, int)
{
    work("animation", swfPath);
}

void FakeStages::work(const std::string& stage, const std::string& outputPath)
{
    ran.push_back(stage);
    status_.stagePercent = 0;
    std::ofstream output(outputPath, std::ios::binary | std::ios::trunc);
    for (int step = 1; step <= steps; ++step) {
        if (status_.cancelRequested || (stage == failingStage && step > steps / 2)) {
            output.close();
            removeFile(outputPath);
            if (!status_.cancelRequested)
                status_.fail(failureText);
            return;
        }
        output << stage << ' ' << step << '\n';
        status_.stagePercent = step * 100 / steps;
        std::this_thread::sleep_for(stepTime);
        pump_.pumpMessages();
        if (onStep)
            onStep(stage);
    }
}

} // namespace orvalin::test
