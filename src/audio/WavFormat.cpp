#include "audio/WavFormat.h"

namespace orvalin {

WavFormat readWavFormat(InputFile& file, const RiffChunk& chunk)
{
    constexpr std::uint64_t kPcmFormatSize = 16;
    if (chunk.size < kPcmFormatSize)
        return {};
    file.seek(chunk.dataStart);
    // A read error leaves zeros, which no check accepts.
    WavFormat format;
    format.formatTag = static_cast<std::uint16_t>(readLittleEndian(file, 2).value_or(0));
    format.channelCount = static_cast<std::uint16_t>(readLittleEndian(file, 2).value_or(0));
    format.samplesPerSecond = readLittleEndian(file, 4).value_or(0);
    file.seek(file.position() + 6); // byte rate and block align follow from the rest
    format.bitsPerSample = static_cast<std::uint16_t>(readLittleEndian(file, 2).value_or(0));
    return format;
}

} // namespace orvalin
