#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvalin::test {

// A PCM WAV as the tests want it: a sine tone per channel, optional extra
// chunks before and after the data.
struct TestTone {
    int sampleRate = 44100;
    int channels = 2;
    int bitsPerSample = 16;
    double seconds = 1.0;
    double frequency = 440.0;
    double amplitude = 0.5; // of full scale
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> chunksBefore;
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> chunksAfter;
    // When given, the amplitude steps through these values, one per segment,
    // so that the loudness envelope can be recognised after coding.
    std::vector<double> segmentAmplitudes;
    double segmentSeconds = 0.25;
};

// The bytes of such a WAV (RIFF header, chunks, "fmt ", chunks, "data", chunks).
std::vector<std::uint8_t> makeWav(const TestTone& tone);
void writeWav(const std::string& path, const TestTone& tone);

// Runs a shell command, returning its exit status and discarding its output,
// or returning its output; shellQuote quotes a path for such a command.
int runCommand(const std::string& command);
std::string captureCommand(const std::string& command);
std::string shellQuote(const std::string& text);

} // namespace orvalin::test
