#pragma once

#include "ui/OptionsPage.h"

namespace orvalin {

// Whether the page embeds a controller or the bare animation, looping or
// played once.
class BareTab final : public OptionsPage {
    Q_OBJECT

public:
    explicit BareTab(ConversionSettings& workingSettings, QWidget* parent = nullptr);
};

} // namespace orvalin
