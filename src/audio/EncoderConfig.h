#pragma once

#include "audio/EncoderInterface.h"
#include "common/OutputChoices.h"

namespace orvalin {

// The record for a constant-bitrate encode at the very-high-quality preset,
// everything not named here zero.
BeConfig makeEncoderConfig(std::uint32_t inputSampleRate, std::uint32_t outputSampleRate,
                           Mp3ChannelMode mode, std::uint32_t bitrate);

} // namespace orvalin
