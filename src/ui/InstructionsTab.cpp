#include "ui/InstructionsTab.h"

#include "settings/ConversionSettings.h"
#include "ui/DialogGroupBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace orvalin {

InstructionsTab::InstructionsTab(ConversionSettings& workingSettings, QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    const DialogUnits units = this->units();
    auto* group = new DialogGroupBox(QStringLiteral("Instruction"), this);
    units.place(*group, 11, 10, 234, 79);

    struct Standard {
        const char* text;
        const char* letter;
        int y;
    };
    const Standard standards[] = {
        {"C - Initially stopped, loops sound", "c", 19},
        {"D - Initially stopped, plays sound once", "d", 33},
        {"E - Initially playing, loops sound", "e", 47},
        {"F - Initially playing, plays sound once", "f", 61},
    };

    letterBox_ = new QLineEdit(this);
    letterBox_->setAccessibleName(QStringLiteral("Special instruction letter"));
    const std::string current = workingSettings_.instructionLetter.substr(0, 1);
    bool standardChosen = false;
    for (const Standard& standard : standards) {
        auto* button = new QRadioButton(QString::fromLatin1(standard.text), this);
        units.place(*button, 19, standard.y, 166, 10);
        const std::string letter = standard.letter;
        if (current == letter) {
            button->setChecked(true);
            standardChosen = true;
        }
        connect(button, &QRadioButton::clicked, this, [this, letter] {
            workingSettings_.instructionLetter = letter;
            letterBox_->setEnabled(false);
        });
    }

    auto* special = new QRadioButton(
        QStringLiteral("Special (future controllers may repond to special instructions)"), this);
    units.place(*special, 19, 75, 208, 10);
    special->setChecked(!standardChosen);
    // Special alone leaves a blank, which OK turns into the default letter,
    // until the user types one.
    connect(special, &QRadioButton::clicked, this, [this] {
        workingSettings_.instructionLetter.assign(1, ' ');
        letterBox_->setEnabled(true);
    });

    units.place(*letterBox_, 226, 75, 12, 11);
    letterBox_->resize(std::max(letterBox_->width(), letterBox_->minimumSizeHint().width()),
                       letterBox_->height());
    // With a wide font the Special text needs more room: the box moves along,
    // and the group with it, as far as the page reaches.
    const int pageRight = units.x(258);
    const int boxX = std::max(letterBox_->x(), special->geometry().right() + units.x(1));
    letterBox_->move(std::min(boxX, pageRight - units.x(1) - letterBox_->width()), letterBox_->y());
    letterBox_->raise();
    const int groupRight = std::min(pageRight - 1, letterBox_->geometry().right() + units.x(1));
    group->resize(std::max(group->width(), groupRight - group->x()), group->height());
    letterBox_->setEnabled(!standardChosen);
    connect(letterBox_, &QLineEdit::textChanged, this,
            [this](const QString& text) { workingSettings_.instructionLetter = text.toStdString(); });
    letterBox_->setText(QString::fromStdString(current));
    // An unchanged text raises no change, yet the letter is always cut to its
    // first character here.
    workingSettings_.instructionLetter = current;

    auto* note = new QLabel(
        QStringLiteral("If you are using a controller then you can give it instructions here"), this);
    units.place(*note, 26, 96, 205, 8);
}

} // namespace orvalin
