#pragma once

#include "ui/OptionsPage.h"

namespace orvalin {

// The MP3 format of the outputs: bitrate, sample rate and channels. Whether
// the combination is allowed is only checked by the dialog's OK.
class CompressionTab final : public OptionsPage {
    Q_OBJECT

public:
    explicit CompressionTab(ConversionSettings& workingSettings, QWidget* parent = nullptr);
};

} // namespace orvalin
