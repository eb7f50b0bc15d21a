// The encode stage's reading of WAV files and its failure, cancel and
// clean-up behaviour.

#include "EncodeStageFixture.h"
#include "Mp3Inspection.h"
#include "TestAudio.h"
#include "WavBuilder.h"
#include "platform/RuntimeModule.h"

#include <filesystem>

namespace orvalin::test {
namespace {

constexpr int kRate = 22050;
constexpr std::uint8_t kStereo = BE_MP3_MODE_STEREO;

TestTone wavSpec(int channels, int bitsPerSample, double seconds = 0.2)
{
    TestTone tone;
    tone.sampleRate = kRate;
    tone.channels = channels;
    tone.bitsPerSample = bitsPerSample;
    tone.seconds = seconds;
    return tone;
}

// 16-bit stereo at 22050 Hz.
std::vector<std::uint8_t> stereoWav(double seconds)
{
    return makeWav(wavSpec(2, 16, seconds));
}

class WavLayout : public EncodeStageFixture {
protected:
    // The duration of the MP3 made from the WAV, encoded as 22050 Hz stereo.
    double encodedSeconds(const std::vector<std::uint8_t>& wav)
    {
        encode(wav, 64, kRate, kStereo);
        EXPECT_FALSE(status.failed) << status.errorText;
        return probeMp3(mp3Path).duration;
    }
};

TEST_F(WavLayout, SkipsOtherChunksIncludingOddSizedOnes)
{
    TestTone tone = wavSpec(2, 16, 1.0);
    tone.chunksBefore = {{"LIST", {'I', 'N', 'F'}}, {"fact", {1, 2, 3, 4}}};
    tone.chunksAfter = {{"LIST", {'a', 'b', 'c', 'd', 'e'}}, {"id3 ", {0xFF, 0xFB, 0x90}}};
    EXPECT_NEAR(encodedSeconds(makeWav(tone)), 1.0, 0.1);
}

TEST_F(WavLayout, EncodesAnOddSizedDataChunkAndGoesOnBehindItsPad)
{
    // Half a second of 8-bit mono at 22050 Hz: 11025 bytes, then the pad byte.
    auto wav = pcmWav(kRate, 1, 8, tone(kRate, 0.5, 440, 0.5));
    // A second data chunk right behind the pad is found and encoded too.
    const auto second = pcmWav(kRate, 1, 8, tone(kRate, 0.5, 440, 0.5));
    wav.insert(wav.end(), second.begin() + static_cast<long>(chunkOffset(second, "data")), second.end());
    encode(wav, 32, kRate, BE_MP3_MODE_MONO);
    ASSERT_FALSE(status.failed) << status.errorText;
    EXPECT_NEAR(probeMp3(mp3Path).duration, 1.0, 0.15);
}

TEST_F(WavLayout, DataChunkClaimingMoreThanTheFileEndsWithTheFile)
{
    auto truncated = stereoWav(2.0);
    truncated.resize(chunkOffset(truncated, "data") + 8 + kRate * 4); // one of the two seconds left
    EXPECT_NEAR(encodedSeconds(truncated), 1.0, 0.1);

    for (const std::uint32_t claimed : {0xFFFFFFFFu, 0x80000000u}) {
        auto streamed = stereoWav(1.0);
        putLittleEndian(streamed, chunkOffset(streamed, "data") + 4, claimed, 4);
        EXPECT_NEAR(encodedSeconds(streamed), 1.0, 0.1) << std::hex << claimed;
    }
}

TEST_F(WavLayout, ChunkSizesThatWouldPointBackwardsEndTheWalk)
{
    TestTone tone = wavSpec(2, 16, 1.0);
    tone.chunksAfter = {{"LIST", {1, 2, 3, 4}}};
    auto wav = makeWav(tone);
    putLittleEndian(wav, chunkOffset(wav, "LIST") + 4, 0xFFFFFFF4u, 4); // -12: back onto the data chunk
    EXPECT_NEAR(encodedSeconds(wav), 1.0, 0.1) << "data encoded once";
}

TEST_F(WavLayout, EmptyDataChunkMakesAnEmptyButValidRun)
{
    auto wav = stereoWav(0.0);
    encode(wav, 64, kRate, kStereo);
    EXPECT_FALSE(status.failed) << status.errorText;
    EXPECT_TRUE(fileExists(mp3Path));
}

class UnsupportedWav : public EncodeStageFixture {
protected:
    void expectRefused(const std::vector<std::uint8_t>& wav, const char* what)
    {
        status = {};
        encode(wav, 64, kRate, kStereo);
        EXPECT_TRUE(status.failed) << what;
        EXPECT_EQ(status.errorText, "Format not supported.") << what;
        EXPECT_FALSE(fileExists(mp3Path)) << what;
    }
};

TEST_F(UnsupportedWav, IsRefusedWithoutOutput)
{
    expectRefused(makeWav(wavSpec(2, 24)), "24-bit");
    expectRefused(makeWav(wavSpec(2, 32)), "32-bit");
    expectRefused(makeWav(wavSpec(3, 16)), "three channels");
    expectRefused(makeWav(wavSpec(0, 16)), "no channels");

    auto floating = stereoWav(0.2);
    putLittleEndian(floating, chunkOffset(floating, "fmt ") + 8, 3, 2);
    expectRefused(floating, "floating point");

    auto notRiff = stereoWav(0.2);
    notRiff[0] = 'X';
    expectRefused(notRiff, "RIFF mark");

    auto notWave = stereoWav(0.2);
    notWave[11] = 'X';
    expectRefused(notWave, "WAVE mark");

    auto noFormat = stereoWav(0.2);
    std::copy_n("junk", 4, noFormat.begin() + static_cast<long>(chunkOffset(noFormat, "fmt ")));
    expectRefused(noFormat, "data without a format");

    expectRefused({}, "empty file");
}

class StageFailure : public EncodeStageFixture {
protected:
    // A program folder whose encoder module is the given stand-in.
    std::string programFolderWith(const std::string& failingModule)
    {
        const std::string programFolder = folder.file("program/");
        std::filesystem::create_directory(programFolder);
        std::filesystem::copy_file(std::string(FAILING_MODULE_FOLDER) + failingModule + ".so",
                                   programFolder + moduleFileName("lame_enc"));
        return programFolder;
    }

    void expectFailure(const std::string& message)
    {
        EXPECT_TRUE(status.failed);
        EXPECT_EQ(status.errorText, message);
        EXPECT_FALSE(fileExists(mp3Path));
    }

    // The stand-in's call counter; the test keeps the module loaded so that
    // the counts survive the stage's own loading and unloading.
    static int calls(const RuntimeModule& module, const char* counter)
    {
        return *module.entryPoint<int>(counter);
    }
};

TEST_F(StageFailure, InputCannotBeOpened)
{
    runStage(64, kRate, kStereo);
    expectFailure("Cannot open WAV file.");
}

TEST_F(StageFailure, OutputCannotBeCreated)
{
    mp3Path = folder.file("missing/output.tmp3");
    encode(stereoWav(0.2), 64, kRate, kStereo);
    expectFailure("Cannot create MP3 file.");
}

TEST_F(StageFailure, OutputCannotBeWritten)
{
    // Through a link, so that removing the failed output removes the link.
    const std::string full = folder.file("full.tmp3");
    std::filesystem::create_symlink("/dev/full", full);
    mp3Path = full;
    encode(stereoWav(2.0), 64, kRate, kStereo);
    expectFailure("Cannot write MP3 file.");
    EXPECT_TRUE(std::filesystem::exists("/dev/full"));
}

TEST_F(StageFailure, ModuleMissingFromTheProgramFolder)
{
    encode(stereoWav(0.2), 64, kRate, kStereo, folder.path());
    expectFailure("Cannot load DLL [" + folder.path() + "lame_enc.so].");
}

TEST_F(StageFailure, EncoderCannotBeInitialised)
{
    const std::string programFolder = programFolderWith("failing_init");
    const auto module = RuntimeModule::load(programFolder + moduleFileName("lame_enc"));
    ASSERT_TRUE(module);
    encode(stereoWav(0.5), 64, kRate, kStereo, programFolder);
    expectFailure("Cannot initialise LAME encoder.");
    EXPECT_EQ(calls(*module, "encodeCalls"), 0);
    EXPECT_EQ(calls(*module, "closeCalls"), 0);
}

TEST_F(StageFailure, EncodingFailsMidwayAndTheStreamIsStillDeinitialisedAndClosed)
{
    const std::string programFolder = programFolderWith("failing_encode");
    const auto module = RuntimeModule::load(programFolder + moduleFileName("lame_enc"));
    ASSERT_TRUE(module);
    encode(stereoWav(1.0), 64, kRate, kStereo, programFolder);
    expectFailure("Cannot encode in LAME encoder.");
    EXPECT_EQ(calls(*module, "encodeCalls"), 2);
    EXPECT_EQ(calls(*module, "deinitCalls"), 1);
    EXPECT_EQ(calls(*module, "closeCalls"), 1);
}

TEST_F(StageFailure, EncoderCannotBeDeinitialised)
{
    const std::string programFolder = programFolderWith("failing_deinit");
    const auto module = RuntimeModule::load(programFolder + moduleFileName("lame_enc"));
    ASSERT_TRUE(module);
    encode(stereoWav(0.5), 64, kRate, kStereo, programFolder);
    expectFailure("Cannot deinitialise LAME encoder.");
    EXPECT_EQ(calls(*module, "closeCalls"), 1);
}

class CancelAndProgress : public EncodeStageFixture {};

TEST_F(CancelAndProgress, DuringEncodingLeavesNoOutputAndNoError)
{
    status.errorText = "earlier message";
    long pumpsBeforeCancel = 0;
    pump.onPump = [&](long count) {
        if (count == 5) {
            status.cancelRequested = true;
            pumpsBeforeCancel = count;
        }
    };
    encode(stereoWav(5.0), 64, kRate, kStereo);
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.errorText, "earlier message");
    EXPECT_FALSE(fileExists(mp3Path));
    EXPECT_LE(pump.count, pumpsBeforeCancel + 1) << "stops at the next chunk";
}

TEST_F(CancelAndProgress, ProgressRisesToAHundredWithAPumpPerChunk)
{
    std::vector<int> seen;
    pump.onPump = [&](long) { seen.push_back(status.stagePercent); };
    encode(stereoWav(2.0), 64, kRate, kStereo);
    ASSERT_FALSE(status.failed) << status.errorText;
    // 2 s at 22050 Hz in chunks of 1152 frames.
    EXPECT_GE(seen.size(), 2u * kRate / 1152);
    EXPECT_TRUE(std::is_sorted(seen.begin() + 1, seen.end()));
    EXPECT_EQ(seen.back(), 100);
}

} // namespace
} // namespace orvalin::test
