#include "TestAudio.h"

#include "TestFolder.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sys/wait.h>

namespace orvalin::test {
namespace {

void put16(std::vector<std::uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, const std::string& id,
              const std::vector<std::uint8_t>& body)
{
    out.insert(out.end(), id.begin(), id.end());
    put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1)
        out.push_back(0); // RIFF pads odd chunks
}

} // namespace

std::vector<std::uint8_t> makeWav(const TestTone& tone)
{
    const int bytesPerSample = tone.bitsPerSample / 8;
    std::vector<std::uint8_t> format;
    put16(format, 1);
    put16(format, static_cast<unsigned>(tone.channels));
    put32(format, static_cast<std::uint32_t>(tone.sampleRate));
    put32(format, static_cast<std::uint32_t>(tone.sampleRate * tone.channels * bytesPerSample));
    put16(format, static_cast<unsigned>(tone.channels * bytesPerSample));
    put16(format, static_cast<unsigned>(tone.bitsPerSample));

    const auto frames = static_cast<long>(tone.seconds * tone.sampleRate);
    std::vector<std::uint8_t> data;
    data.reserve(static_cast<std::size_t>(frames * tone.channels * bytesPerSample));
    for (long i = 0; i < frames; ++i) {
        const double time = static_cast<double>(i) / tone.sampleRate;
        double amplitude = tone.amplitude;
        if (!tone.segmentAmplitudes.empty()) {
            const auto segment = static_cast<std::size_t>(time / tone.segmentSeconds);
            amplitude = tone.segmentAmplitudes[segment % tone.segmentAmplitudes.size()];
        }
        for (int channel = 0; channel < tone.channels; ++channel) {
            // Each channel a little higher, so that channels can be told apart.
            const double frequency = tone.frequency * (1.0 + 0.5 * channel);
            const double value = amplitude * std::sin(2 * M_PI * frequency * time);
            if (tone.bitsPerSample == 8)
                data.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * value)));
            else
                put16(data, static_cast<unsigned>(static_cast<std::int16_t>(std::lround(32767 * value))));
        }
    }

    std::vector<std::uint8_t> body;
    for (const auto& [id, chunk] : tone.chunksBefore)
        putChunk(body, id, chunk);
    putChunk(body, "fmt ", format);
    putChunk(body, "data", data);
    for (const auto& [id, chunk] : tone.chunksAfter)
        putChunk(body, id, chunk);

    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    put32(file, static_cast<std::uint32_t>(body.size() + 4));
    file.insert(file.end(), {'W', 'A', 'V', 'E'});
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

void writeWav(const std::string& path, const TestTone& tone)
{
    writeBytes(path, makeWav(tone));
}

int runCommand(const std::string& command)
{
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string captureCommand(const std::string& command)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    if (!pipe)
        return output;
    std::array<char, 4096> chunk;
    while (const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), pipe.get()))
        output.append(chunk.data(), got);
    return output;
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

} // namespace orvalin::test
