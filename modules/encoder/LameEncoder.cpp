// The BladeEnc-style entry points over libmp3lame's own interface. The stream
// handle is the address of an EncoderStream. Nothing here may throw across
// the C boundary, so allocation is non-throwing and every argument is checked.

#include "audio/EncoderInterface.h"

#include <lame/lame.h>

#include <memory>
#include <new>
#include <type_traits>

namespace orvalin {
namespace {

constexpr BeError kFailed = 1;

struct LameCloser {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};
using LameFlags = std::unique_ptr<lame_global_flags, LameCloser>;

struct EncoderStream {
    LameFlags flags;
    int channels = 0;
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputBufferSize = 0;
};

EncoderStream* streamFrom(BeStream handle)
{
    return reinterpret_cast<EncoderStream*>(handle);
}

// Only what this module offers: constant bitrate, plain stereo or mono, the
// very-high-quality preset.
bool configIsUsable(const BeConfig& config)
{
    return config.dwConfig == BE_CONFIG_LAME && config.dwStructVersion >= 1 &&
           config.dwStructSize >= sizeof(BeConfig) && config.dwSampleRate > 0 &&
           config.dwBitrate > 0 && config.bEnableVBR == 0 && config.bWriteVBRHeader == 0 &&
           config.nPreset == LQP_VERYHIGH_QUALITY &&
           (config.nMode == BE_MP3_MODE_STEREO || config.nMode == BE_MP3_MODE_MONO);
}

// The quality word counts only when its high byte is the complement of its
// low byte, so that a zeroed record keeps the preset's quality.
void applyQualityWord(lame_global_flags* flags, std::uint16_t quality)
{
    const unsigned low = quality & 0xFFu;
    const unsigned high = quality >> 8;
    if (high == (~low & 0xFFu))
        lame_set_quality(flags, static_cast<int>(low));
}

LameFlags configuredEncoder(const BeConfig& config)
{
    LameFlags flags(lame_init());
    if (!flags)
        return nullptr;
    lame_global_flags* f = flags.get();
    const bool mono = config.nMode == BE_MP3_MODE_MONO;
    lame_set_num_channels(f, mono ? 1 : 2);
    lame_set_mode(f, mono ? MONO : STEREO);
    lame_set_in_samplerate(f, static_cast<int>(config.dwSampleRate));
    lame_set_out_samplerate(f, static_cast<int>(config.dwReSampleRate));
    lame_set_VBR(f, vbr_off);
    lame_set_brate(f, static_cast<int>(config.dwBitrate));
    lame_set_error_protection(f, 0);
    lame_set_extension(f, 0);
    lame_set_copyright(f, 0);
    lame_set_original(f, 0);
    lame_set_bWriteVbrTag(f, 0);
    lame_set_write_id3tag_automatic(f, 0);
    lame_set_disable_reservoir(f, 0);
    // What the interface's very-high-quality preset selects.
    lame_set_quality(f, 0);
    applyQualityWord(f, config.nQuality);
    if (lame_init_params(f) < 0)
        return nullptr;
    return flags;
}

} // namespace
} // namespace orvalin

using namespace orvalin;

#define ORVALIN_EXPORT extern "C" __attribute__((visibility("default")))

ORVALIN_EXPORT BeError beInitStream(const BeConfig* config, std::uint32_t* samplesPerChunk,
                                    std::uint32_t* outputBufferSize, BeStream* stream)
{
    if (!config || !samplesPerChunk || !outputBufferSize || !stream || !configIsUsable(*config))
        return kFailed;
    LameFlags flags = configuredEncoder(*config);
    if (!flags)
        return kFailed;
    std::unique_ptr<EncoderStream> encoder(new (std::nothrow) EncoderStream);
    if (!encoder)
        return kFailed;
    encoder->channels = lame_get_num_channels(flags.get());
    // MPEG-1 frames (32 kHz and up) hold 1152 samples per channel, the lower
    // rates' frames 576.
    const std::uint32_t frameSamples = lame_get_out_samplerate(flags.get()) >= 32000 ? 1152 : 576;
    encoder->samplesPerChunk = frameSamples * static_cast<std::uint32_t>(encoder->channels);
    encoder->outputBufferSize = static_cast<std::uint32_t>(1.25 * frameSamples + 7200);
    encoder->flags = std::move(flags);

    *samplesPerChunk = encoder->samplesPerChunk;
    *outputBufferSize = encoder->outputBufferSize;
    *stream = reinterpret_cast<BeStream>(encoder.release());
    return BE_ERR_SUCCESSFUL;
}

ORVALIN_EXPORT BeError beEncodeChunk(BeStream stream, std::uint32_t sampleCount,
                                     const std::int16_t* samples, std::uint8_t* output,
                                     std::uint32_t* written)
{
    EncoderStream* encoder = streamFrom(stream);
    if (!encoder || !encoder->flags || !output || !written ||
        sampleCount > encoder->samplesPerChunk || (sampleCount > 0 && !samples))
        return kFailed;
    const int frames = static_cast<int>(sampleCount) / encoder->channels;
    const int bufferSize = static_cast<int>(encoder->outputBufferSize);
    int result;
    if (encoder->channels == 1)
        result = lame_encode_buffer(encoder->flags.get(), samples, samples, frames, output, bufferSize);
    else
        result = lame_encode_buffer_interleaved(encoder->flags.get(),
                                                const_cast<std::int16_t*>(samples), frames,
                                                output, bufferSize);
    if (result < 0)
        return kFailed;
    *written = static_cast<std::uint32_t>(result);
    return BE_ERR_SUCCESSFUL;
}

ORVALIN_EXPORT BeError beDeinitStream(BeStream stream, std::uint8_t* output, std::uint32_t* written)
{
    EncoderStream* encoder = streamFrom(stream);
    if (!encoder || !encoder->flags || !output || !written)
        return kFailed;
    const int result = lame_encode_flush(encoder->flags.get(), output,
                                         static_cast<int>(encoder->outputBufferSize));
    if (result < 0)
        return kFailed;
    *written = static_cast<std::uint32_t>(result);
    return BE_ERR_SUCCESSFUL;
}

ORVALIN_EXPORT BeError beCloseStream(BeStream stream)
{
    EncoderStream* encoder = streamFrom(stream);
    if (!encoder)
        return kFailed;
    delete encoder;
    return BE_ERR_SUCCESSFUL;
}

static_assert(std::is_same_v<decltype(beInitStream), BeInitStream>);
static_assert(std::is_same_v<decltype(beEncodeChunk), BeEncodeChunk>);
static_assert(std::is_same_v<decltype(beDeinitStream), BeDeinitStream>);
static_assert(std::is_same_v<decltype(beCloseStream), BeCloseStream>);
