#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace orvalin::test {

// What ffprobe says of an MP3 file's first audio stream.
struct Mp3Probe {
    std::string codec;
    int sampleRate = 0;
    int channels = 0;
    double duration = 0;
};
Mp3Probe probeMp3(const std::string& path);

// The file decoded by ffmpeg to interleaved 16-bit samples.
std::vector<std::int16_t> decodeMp3(const std::string& path);

// Root mean square of one channel, leaving out skipFrames at both ends where
// the encoder's delay and padding sit.
double channelRms(const std::vector<std::int16_t>& interleaved, int channels, int channel,
                  std::size_t skipFrames);

// The frame headers from the first byte on, followed frame by frame.
struct Mp3FrameScan {
    int frames = 0;
    bool reachesEnd = false; // every byte belongs to a frame
    std::set<int> bitrates;
    std::set<int> sampleRates;
    std::set<int> channelModes; // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool plainHeaders = true;   // no CRC, private, copyright or original bit anywhere
    // A first frame of zeros is the place an encoder keeps for an Info or Xing
    // tag that is written at the end.
    bool startsWithEmptyFrame = false;
};
Mp3FrameScan scanFrames(const std::vector<std::uint8_t>& mp3);

} // namespace orvalin::test
