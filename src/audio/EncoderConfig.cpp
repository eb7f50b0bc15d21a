#include "audio/EncoderConfig.h"

namespace orvalin {

BeConfig makeEncoderConfig(std::uint32_t inputSampleRate, std::uint32_t outputSampleRate,
                           std::int32_t mode, std::uint32_t bitrate)
{
    BeConfig config{};
    config.dwConfig = BE_CONFIG_LAME;
    config.dwStructVersion = 1;
    config.dwStructSize = sizeof(BeConfig);
    config.dwSampleRate = inputSampleRate;
    config.dwReSampleRate = outputSampleRate;
    config.nMode = mode;
    config.dwBitrate = bitrate;
    config.nPreset = LQP_VERYHIGH_QUALITY;
    return config;
}

} // namespace orvalin
