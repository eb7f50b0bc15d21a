#include "ui/OptionsPage.h"

namespace orvalin {

OptionsPage::OptionsPage(ConversionSettings& workingSettings, QWidget* parent)
    : QWidget(parent), workingSettings_(workingSettings)
{
    // The tab control draws its pane lighter than the dialog; a page shows
    // the dialog's grey, as every other window does.
    setAutoFillBackground(true);
}

} // namespace orvalin
