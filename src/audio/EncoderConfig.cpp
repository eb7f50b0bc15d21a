#include "audio/EncoderConfig.h"

namespace orvalin {

static_assert(static_cast<std::int32_t>(Mp3ChannelMode::Stereo) == BE_MP3_MODE_STEREO);
static_assert(static_cast<std::int32_t>(Mp3ChannelMode::Mono) == BE_MP3_MODE_MONO);

BeConfig makeEncoderConfig(std::uint32_t inputSampleRate, std::uint32_t outputSampleRate,
                           Mp3ChannelMode mode, std::uint32_t bitrate)
{
    BeConfig config{};
    config.dwConfig = BE_CONFIG_LAME;
    config.dwStructVersion = 1;
    config.dwStructSize = sizeof(BeConfig);
    config.dwSampleRate = inputSampleRate;
    config.dwReSampleRate = outputSampleRate;
    config.nMode = static_cast<std::int32_t>(mode);
    config.dwBitrate = bitrate;
    config.nPreset = LQP_VERYHIGH_QUALITY;
    return config;
}

} // namespace orvalin
