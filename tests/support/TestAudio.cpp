#include "TestAudio.h"

#include "TestFolder.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <sys/wait.h>

namespace orvalin::test {
namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putChunk(std::vector<std::uint8_t>& out, const std::string& id, const std::vector<std::uint8_t>& body)
{
    out.insert(out.end(), id.begin(), id.end());
    put(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 == 1)
        out.push_back(0); // RIFF pads odd chunks
}

} // namespace

std::vector<std::uint8_t> makeWav(const TestTone& tone)
{
    const int blockAlign = tone.channels * tone.bitsPerSample / 8;
    std::vector<std::uint8_t> format;
    put(format, 1, 2);
    put(format, tone.channels, 2);
    put(format, tone.sampleRate, 4);
    put(format, tone.sampleRate * blockAlign, 4);
    put(format, blockAlign, 2);
    put(format, tone.bitsPerSample, 2);

    const auto frames = static_cast<long>(tone.seconds * tone.sampleRate);
    std::vector<std::uint8_t> data;
    for (long i = 0; i < frames; ++i) {
        const double time = static_cast<double>(i) / tone.sampleRate;
        const auto segment = static_cast<std::size_t>(time / tone.segmentSeconds);
        const double amplitude = tone.segmentAmplitudes.empty()
                                     ? tone.amplitude
                                     : tone.segmentAmplitudes[segment % tone.segmentAmplitudes.size()];
        for (int channel = 0; channel < tone.channels; ++channel) {
            // Each channel a little higher, so that channels can be told apart.
            const double value = amplitude * std::sin(2 * M_PI * tone.frequency * (1.0 + 0.5 * channel) * time);
            if (tone.bitsPerSample == 8)
                data.push_back(static_cast<std::uint8_t>(std::lround(128 + 127 * value)));
            else
                put(data, static_cast<std::uint16_t>(std::lround(32767 * value)), 2);
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
    put(file, static_cast<std::uint32_t>(body.size() + 4), 4);
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
    char chunk[4096];
    while (pipe && !std::feof(pipe.get()) && !std::ferror(pipe.get()))
        output.append(chunk, std::fread(chunk, 1, sizeof chunk, pipe.get()));
    return output;
}

std::string shellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace orvalin::test
