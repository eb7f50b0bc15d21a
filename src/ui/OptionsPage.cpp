#include "ui/OptionsPage.h"

namespace orvalin {

OptionsPage::OptionsPage(ConversionSettings& workingSettings, QWidget* parent)
    : QWidget(parent), workingSettings_(workingSettings)
{
}

} // namespace orvalin
