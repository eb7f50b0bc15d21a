#include "ui/CompressionTab.h"

#include "settings/ConversionSettings.h"

#include <QComboBox>
#include <QLabel>

#include <vector>

namespace orvalin {
namespace {

struct Entry {
    QString text;
    int value;
};

std::vector<Entry> bitrateEntries()
{
    std::vector<Entry> entries;
    for (int bitrate : kBitrates)
        entries.push_back({QStringLiteral("%1 kb/s").arg(bitrate), bitrate});
    return entries;
}

std::vector<Entry> sampleRateEntries()
{
    std::vector<Entry> entries;
    for (int rate : kSampleRates)
        entries.push_back({QStringLiteral("%1 Hz").arg(rate), rate});
    return entries;
}

} // namespace

CompressionTab::CompressionTab(ConversionSettings& workingSettings, QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    const DialogUnits units = this->units();
    // A value no entry stands for (one edited into the file by hand) shows no
    // selection and is kept until the user picks an entry.
    const auto addList = [&](const char* label, int y, const std::vector<Entry>& entries, int& field) {
        auto* caption = new QLabel(QString::fromLatin1(label), this);
        auto* list = new QComboBox(this);
        list->setAccessibleName(caption->text());
        units.place(*list, 125, y, 51, 12);
        units.placeLabelBefore(*caption, *list, 80, y + 2, 43, 8);
        caption->setBuddy(list);
        for (const Entry& entry : entries)
            list->addItem(entry.text, entry.value);
        list->setCurrentIndex(list->findData(field));
        connect(list, &QComboBox::currentIndexChanged, this, [list, &field](int index) {
            if (index >= 0)
                field = list->itemData(index).toInt();
        });
    };
    addList("Bitrate", 21, bitrateEntries(), workingSettings_.bitrate);
    addList("Sample Rate", 41, sampleRateEntries(), workingSettings_.sampleRate);
    addList("Channels", 61, {{QStringLiteral("1 - Mono"), 1}, {QStringLiteral("2 - Stereo"), 2}},
            workingSettings_.channels);
}

} // namespace orvalin
