#pragma once

#include <array>
#include <cstdint>

namespace orvalin {

// The 44-byte header of a 16-bit PCM WAV whose data chunk follows it
// directly. Both size fields are 0 until patched at the end.
inline constexpr std::uint64_t kPcmWavHeaderSize = 44;
inline constexpr std::uint64_t kRiffSizeOffset = 4;
inline constexpr std::uint64_t kDataSizeOffset = 40;

// The most PCM bytes such a WAV holds: both size fields stay below 2^31, as
// readers that take them as signed 32-bit numbers (the encode stage among
// them) need, and whole stereo sample frames fit.
inline constexpr std::uint32_t kMaxPcmDataBytes = (0x7FFFFFFFu - 36) / 4 * 4;
static_assert(std::uint64_t{kMaxPcmDataBytes} + kPcmWavHeaderSize - 8 <= 0x7FFFFFFFu);
static_assert(kMaxPcmDataBytes % 4 == 0 && kMaxPcmDataBytes > 0x7FFFFFFFu - 64);

std::array<std::uint8_t, kPcmWavHeaderSize> pcmWavHeader(int channels, int sampleRate);

} // namespace orvalin
