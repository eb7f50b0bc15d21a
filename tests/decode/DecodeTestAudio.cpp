#include "DecodeTestAudio.h"

#include <cmath>
#include <cstring>

namespace orvalin::test {
namespace {

std::uint32_t le32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t le16(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::string encodeWithLame(const TestFolder& folder, const std::string& name, const TestTone& tone,
                           const std::string& lameOptions)
{
    const std::string wavPath = folder.file(name + ".source.wav");
    const std::string mp3Path = folder.file(name + ".mp3");
    writeWav(wavPath, tone);
    const int status = runCommand("lame --quiet " + lameOptions + " " + shellQuote(wavPath) + " " +
                                  shellQuote(mp3Path));
    return status == 0 ? mp3Path : "";
}

void writePcmWav(const std::string& path, int sampleRate, int channels,
                 const std::vector<std::int16_t>& samples)
{
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    put(file, dataSize + 36, 4);
    for (const char c : std::string("WAVEfmt "))
        file.push_back(static_cast<std::uint8_t>(c));
    put(file, 16, 4);
    put(file, 1, 2);
    put(file, static_cast<std::uint32_t>(channels), 2);
    put(file, static_cast<std::uint32_t>(sampleRate), 4);
    put(file, static_cast<std::uint32_t>(sampleRate * channels * 2), 4);
    put(file, static_cast<std::uint32_t>(channels * 2), 2);
    put(file, 16, 2);
    for (const char c : std::string("data"))
        file.push_back(static_cast<std::uint8_t>(c));
    put(file, dataSize, 4);
    for (const std::int16_t sample : samples)
        put(file, static_cast<std::uint16_t>(sample), 2);
    writeBytes(path, file);
}

DecodedWav readDecodedWav(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = readBytes(path);
    DecodedWav wav;
    wav.fileLength = bytes.size();
    if (bytes.size() < 44)
        return wav;
    const auto text = [&](std::size_t at) { return std::string(bytes.begin() + at, bytes.begin() + at + 4); };
    wav.riff = text(0);
    wav.riffSize = le32(bytes, 4);
    wav.wave = text(8);
    wav.fmt = text(12);
    wav.fmtSize = le32(bytes, 16);
    wav.formatTag = le16(bytes, 20);
    wav.channels = le16(bytes, 22);
    wav.sampleRate = le32(bytes, 24);
    wav.byteRate = le32(bytes, 28);
    wav.blockAlign = le16(bytes, 32);
    wav.bitsPerSample = le16(bytes, 34);
    wav.data = text(36);
    wav.dataSize = le32(bytes, 40);
    wav.samples.resize((bytes.size() - 44) / 2);
    for (std::size_t i = 0; i < wav.samples.size(); ++i)
        wav.samples[i] = static_cast<std::int16_t>(le16(bytes, 44 + 2 * i));
    return wav;
}

double toneFrequency(const DecodedWav& wav, int channel)
{
    // The first and last tenth are left out: the encoder's edges.
    const std::size_t frames = wav.frames();
    const std::size_t first = frames / 10, last = frames - frames / 10;
    std::size_t risings = 0, firstRising = 0, lastRising = 0;
    for (std::size_t i = first + 1; i < last; ++i) {
        const int before = wav.samples[(i - 1) * wav.channels + static_cast<std::size_t>(channel)];
        const int now = wav.samples[i * wav.channels + static_cast<std::size_t>(channel)];
        if (before < 0 && now >= 0) {
            if (risings == 0)
                firstRising = i;
            lastRising = i;
            ++risings;
        }
    }
    if (risings < 2)
        return 0;
    return static_cast<double>(risings - 1) * wav.sampleRate / static_cast<double>(lastRising - firstRising);
}

double loudness(const DecodedWav& wav, int channel, double from, double to)
{
    const auto begin = static_cast<std::size_t>(from * wav.sampleRate);
    const auto end = std::min(wav.frames(), static_cast<std::size_t>(to * wav.sampleRate));
    if (end <= begin)
        return 0;
    double sum = 0;
    for (std::size_t i = begin; i < end; ++i) {
        const double value = wav.samples[i * wav.channels + static_cast<std::size_t>(channel)] / 32768.0;
        sum += value * value;
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

} // namespace orvalin::test
