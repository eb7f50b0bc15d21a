#include "audio/MpegFrameHeader.h"

namespace orvalin {
namespace {

// kb/s for bitrate indexes 1 to 14; indexes 0 (free format) and 15 give 128.
constexpr int kMpeg1Layer1[14] = {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr int kMpeg1Layer2[14] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr int kMpeg1Layer3[14] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Layer1[14] = {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256};
constexpr int kMpeg2Layer23[14] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000}, // MPEG-1
    {22050, 24000, 16000}, // MPEG-2
    {11025, 12000, 8000},  // MPEG-2.5
};

int bitrateFor(MpegVersion version, MpegLayer layer, int index)
{
    if (index == 0 || index == 15)
        return 128;
    const int* table;
    if (version == MpegVersion::Mpeg1)
        table = layer == MpegLayer::Layer1   ? kMpeg1Layer1
                : layer == MpegLayer::Layer2 ? kMpeg1Layer2
                                             : kMpeg1Layer3;
    else
        table = layer == MpegLayer::Layer1 ? kMpeg2Layer1 : kMpeg2Layer23;
    return table[index - 1];
}

} // namespace

MpegFrameInfo parseMpegHeader(std::uint8_t h1, std::uint8_t h2, std::uint8_t h3)
{
    MpegFrameInfo info;
    switch ((h1 >> 3) & 3) {
    case 3: info.version = MpegVersion::Mpeg1; break;
    case 2: info.version = MpegVersion::Mpeg2; break;
    default: info.version = MpegVersion::Mpeg25; break;
    }
    switch ((h1 >> 1) & 3) {
    case 3: info.layer = MpegLayer::Layer1; break;
    case 2: info.layer = MpegLayer::Layer2; break;
    default: info.layer = MpegLayer::Layer3; break;
    }
    info.bitrate = bitrateFor(info.version, info.layer, h2 >> 4);
    const int rateIndex = (h2 >> 2) & 3;
    info.sampleRate = rateIndex == 3 ? 44100 : kSampleRates[static_cast<int>(info.version)][rateIndex];
    info.padded = (h2 >> 1) & 1;
    info.stereo = (h3 >> 6) != 3;

    if (info.layer == MpegLayer::Layer1) {
        info.frameLength = 4 * (12000 * info.bitrate / info.sampleRate);
        info.paddingSize = 4;
    } else if (info.layer == MpegLayer::Layer3 && info.version != MpegVersion::Mpeg1) {
        info.frameLength = 72000 * info.bitrate / info.sampleRate;
        info.paddingSize = 1;
    } else {
        info.frameLength = 144000 * info.bitrate / info.sampleRate;
        info.paddingSize = 1;
    }
    return info;
}

} // namespace orvalin
