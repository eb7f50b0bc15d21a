#include "CodedAudio.h"

#include "audio/MpegFrameHeader.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace orvalin::test {

std::vector<Bytes> mpegFrames(const Bytes& file)
{
    std::vector<Bytes> frames;
    for (std::size_t at = 0; at + 4 <= file.size() && file[at] == 0xFF && (file[at + 1] & 0xE0) == 0xE0;) {
        const auto length = static_cast<std::size_t>(parseMpegHeader(file[at + 1], file[at + 2], file[at + 3]).lengthWithPadding());
        if (at + length > file.size())
            break;
        frames.emplace_back(file.begin() + static_cast<long>(at), file.begin() + static_cast<long>(at + length));
        at += length;
    }
    return frames;
}

Pcm::Pcm(const std::string& bytes, int channelCount, int sampleRate)
    : channels(channelCount), rate(sampleRate), samples(bytes.size() / 2)
{
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) | bytes[2 * i + 1] << 8);
}

double Pcm::loudness(int channel, double from, double to) const
{
    const auto begin = static_cast<std::size_t>(from * rate);
    const auto end = std::min(frames(), static_cast<std::size_t>(to * rate));
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i)
        sum += std::pow(samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)] / 32768.0, 2);
    return end > begin ? std::sqrt(sum / static_cast<double>(end - begin)) : 0;
}

std::string lameMp3(const TestFolder& folder, const std::string& name, const TestTone& tone,
                    const std::string& options)
{
    const std::string wav = folder.file(name + ".wav");
    const std::string mp3 = folder.file(name + ".mp3");
    writeWav(wav, tone);
    EXPECT_EQ(runCommand("lame --quiet " + options + " " + shellQuote(wav) + " " + shellQuote(mp3)), 0) << options;
    return mp3;
}

} // namespace orvalin::test
