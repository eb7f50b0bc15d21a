#include "ui/InstructionsTab.h"

#include "settings/ConversionSettings.h"
#include "ui/DialogGroupBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <algorithm>

namespace orvalin {

InstructionsTab::InstructionsTab(ConversionSettings& workingSettings, QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    const DialogUnits units = this->units();
    auto* group = new DialogGroupBox(QStringLiteral("Instruction"), this);
    units.place(*group, 11, 10, 234, 79);

    // The rows start inside the group's frame, below its title however tall
    // the font makes it, and follow each other at their own height; the
    // group grows to hold them.
    int rowTop = group->y() + group->contentsRect().top();
    const auto addRow = [&rowTop, &units, group](QWidget& control) {
        control.move(control.x(), rowTop);
        rowTop = control.geometry().bottom() + 1;
        const QRect inside = group->contentsRect().translated(group->pos());
        const QPoint lacking =
            control.geometry().bottomRight() + QPoint(units.x(2), units.y(1)) - inside.bottomRight();
        group->resize(group->size() + QSize(std::max(0, lacking.x()), std::max(0, lacking.y())));
    };

    struct Standard {
        const char* text;
        const char* letter;
    };
    const Standard standards[] = {
        {"C - Initially stopped, loops sound", "c"},
        {"D - Initially stopped, plays sound once", "d"},
        {"E - Initially playing, loops sound", "e"},
        {"F - Initially playing, plays sound once", "f"},
    };

    const std::string current = workingSettings_.instructionLetter.substr(0, 1);
    bool standardChosen = false;
    for (const Standard& standard : standards) {
        auto* button = new QRadioButton(QString::fromLatin1(standard.text), this);
        units.place(*button, 19, 0, 166, 10);
        addRow(*button);
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
    units.place(*special, 19, 0, 208, 10);
    addRow(*special);
    special->setChecked(!standardChosen);
    // Special alone leaves a blank, which OK turns into the default letter,
    // until the user types one.
    connect(special, &QRadioButton::clicked, this, [this] {
        workingSettings_.instructionLetter.assign(1, ' ');
        letterBox_->setEnabled(true);
    });

    // The Special text is too long to leave room for the box beside it: the
    // box goes under it, where its text starts, next in the Tab order.
    letterBox_ = new QLineEdit(this);
    letterBox_->setAccessibleName(QStringLiteral("Special instruction letter"));
    QStyleOptionButton specialOption;
    specialOption.initFrom(special);
    const QRect specialText = style()->subElementRect(QStyle::SE_RadioButtonContents, &specialOption, special);
    units.place(*letterBox_, 0, 0, 12, 11);
    letterBox_->setGeometry(special->x() + specialText.x(), 0,
                            std::max(letterBox_->width(), letterBox_->minimumSizeHint().width()),
                            letterBox_->height());
    rowTop += units.y(1);
    addRow(*letterBox_);
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
    note->move(note->x(), std::max(note->y(), group->geometry().bottom() + units.y(3)));
}

} // namespace orvalin
