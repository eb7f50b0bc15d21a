#pragma once

#include "FakePlatform.h"
#include "TestFolder.h"
#include "audio/EncoderInterface.h"
#include "audio/Mp3EncodeStage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// One encode stage run on a WAV written into a fresh folder.
class EncodeStageFixture : public ::testing::Test {
protected:
    void encode(const std::vector<std::uint8_t>& wav, unsigned bitrate, unsigned outputRate,
                std::uint8_t mode, const std::string& programFolder = PROGRAM_FOLDER)
    {
        writeBytes(wavPath, wav);
        runStage(bitrate, outputRate, mode, programFolder);
    }

    void runStage(unsigned bitrate, unsigned outputRate, std::uint8_t mode,
                  const std::string& programFolder = PROGRAM_FOLDER)
    {
        Mp3EncodeStage stage(status, pump, programFolder);
        stage.setWavPath(wavPath);
        stage.setMp3Path(mp3Path);
        stage.run(bitrate, outputRate, mode);
    }

    TestFolder folder;
    std::string wavPath = folder.file("input.wav");
    std::string mp3Path = folder.file("output.tmp3");
    JobStatus status;
    ScriptedPump pump;
};

} // namespace orvalin::test
