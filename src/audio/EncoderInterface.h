#pragma once

// The BladeEnc-style interface of the "lame_enc" module, shared by the module
// and the stage that loads it. The record keeps the byte layout of LAME's
// BE_CONFIG in its LHV1 form, so that it matches what that interface defines.

#include <cstddef>
#include <cstdint>

namespace orvalin {

inline constexpr std::uint32_t BE_CONFIG_LAME = 256;
inline constexpr std::int32_t BE_MP3_MODE_STEREO = 0;
inline constexpr std::int32_t BE_MP3_MODE_MONO = 3;
inline constexpr std::int32_t LQP_VERYHIGH_QUALITY = 5;
inline constexpr std::uint32_t BE_ERR_SUCCESSFUL = 0;

#pragma pack(push, 1)
struct BeConfig {
    std::uint32_t dwConfig;
    std::uint32_t dwStructVersion;
    std::uint32_t dwStructSize;
    std::uint32_t dwSampleRate;
    std::uint32_t dwReSampleRate;
    std::int32_t nMode;
    std::uint32_t dwBitrate;
    std::uint32_t dwMaxBitrate;
    std::int32_t nPreset;
    std::uint32_t dwMpegVersion;
    std::uint32_t dwPsyModel;
    std::uint32_t dwEmphasis;
    std::int32_t bPrivate;
    std::int32_t bCRC;
    std::int32_t bCopyright;
    std::int32_t bOriginal;
    std::int32_t bWriteVBRHeader;
    std::int32_t bEnableVBR;
    std::int32_t nVBRQuality;
    std::uint32_t dwVbrAbr_bps;
    std::int32_t nVbrMethod;
    std::int32_t bNoRes;
    std::int32_t bStrictIso;
    std::uint16_t nQuality;
    std::uint8_t btReserved[237];
};
#pragma pack(pop)

static_assert(sizeof(BeConfig) == 331);
static_assert(offsetof(BeConfig, dwStructVersion) == 4);
static_assert(offsetof(BeConfig, dwSampleRate) == 12);
static_assert(offsetof(BeConfig, dwReSampleRate) == 16);
static_assert(offsetof(BeConfig, nMode) == 20);
static_assert(offsetof(BeConfig, dwBitrate) == 24);
static_assert(offsetof(BeConfig, nPreset) == 32);
static_assert(offsetof(BeConfig, bPrivate) == 48);
static_assert(offsetof(BeConfig, bWriteVBRHeader) == 64);
static_assert(offsetof(BeConfig, bEnableVBR) == 68);
static_assert(offsetof(BeConfig, bNoRes) == 84);
static_assert(offsetof(BeConfig, bStrictIso) == 88);
static_assert(offsetof(BeConfig, nQuality) == 92);
static_assert(offsetof(BeConfig, btReserved) == 94);

// BE_ERR is 0 on success. The stream handle, an unsigned long in the original
// interface, is pointer-sized here so that the module can hand out a pointer.
using BeError = std::uint32_t;
using BeStream = std::uintptr_t;

extern "C" {
// samplesPerChunk: the most 16-bit samples, counted over all channels, that
// one beEncodeChunk call takes; outputBufferSize: the bytes its output needs.
using BeInitStream = BeError(const BeConfig* config, std::uint32_t* samplesPerChunk,
                             std::uint32_t* outputBufferSize, BeStream* stream);
// sampleCount counts interleaved samples over all channels.
using BeEncodeChunk = BeError(BeStream stream, std::uint32_t sampleCount,
                              const std::int16_t* samples, std::uint8_t* output,
                              std::uint32_t* written);
// Flushes the encoder's last frames into output.
using BeDeinitStream = BeError(BeStream stream, std::uint8_t* output, std::uint32_t* written);
using BeCloseStream = BeError(BeStream stream);
}

} // namespace orvalin
