#include "Mp3Inspection.h"

#include "TestAudio.h"
#include "audio/MpegFrameHeader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

namespace orvalin::test {

Mp3Probe probeMp3(const std::string& path)
{
    const std::string report = captureCommand(
        "ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels"
        ":format=duration -of default=noprint_wrappers=1 " + shellQuote(path));
    Mp3Probe probe;
    std::istringstream lines(report);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "codec_name")
            probe.codec = value;
        else if (key == "sample_rate")
            probe.sampleRate = std::stoi(value);
        else if (key == "channels")
            probe.channels = std::stoi(value);
        else if (key == "duration")
            probe.duration = std::stod(value);
    }
    return probe;
}

std::vector<std::int16_t> decodeMp3(const std::string& path)
{
    const std::string pcm =
        captureCommand("ffmpeg -v error -i " + shellQuote(path) + " -f s16le -acodec pcm_s16le -");
    std::vector<std::int16_t> samples(pcm.size() / 2);
    std::memcpy(samples.data(), pcm.data(), samples.size() * 2);
    return samples;
}

double channelRms(const std::vector<std::int16_t>& interleaved, int channels, int channel,
                  std::size_t skipFrames)
{
    const std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t frame = skipFrames; frame + skipFrames < frames; ++frame) {
        const double value = interleaved[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
        sum += value * value;
        ++count;
    }
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0;
}

Mp3FrameScan scanFrames(const std::vector<std::uint8_t>& mp3)
{
    Mp3FrameScan scan;
    std::size_t offset = 0;
    while (offset + 4 <= mp3.size() && mp3[offset] == 0xFF && (mp3[offset + 1] & 0xE0) == 0xE0) {
        const MpegFrameInfo frame = parseMpegHeader(mp3[offset + 1], mp3[offset + 2], mp3[offset + 3]);
        if (frame.lengthWithPadding() <= 0)
            break;
        const std::size_t end = std::min(mp3.size(), offset + static_cast<std::size_t>(frame.lengthWithPadding()));
        if (scan.frames == 0)
            scan.startsWithEmptyFrame =
                std::all_of(mp3.begin() + static_cast<long>(offset) + 4, mp3.begin() + static_cast<long>(end),
                            [](std::uint8_t byte) { return byte == 0; });
        ++scan.frames;
        scan.bitrates.insert(frame.bitrate);
        scan.sampleRates.insert(frame.sampleRate);
        scan.channelModes.insert(mp3[offset + 3] >> 6);
        const bool crc = (mp3[offset + 1] & 0x01) == 0;
        const bool privateBit = mp3[offset + 2] & 0x01;
        const bool copyright = mp3[offset + 3] & 0x08;
        const bool original = mp3[offset + 3] & 0x04;
        if (crc || privateBit || copyright || original)
            scan.plainHeaders = false;
        offset += static_cast<std::size_t>(frame.lengthWithPadding());
    }
    scan.reachesEnd = offset == mp3.size();
    return scan;
}

} // namespace orvalin::test
