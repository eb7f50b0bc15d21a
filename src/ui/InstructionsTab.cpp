#include "ui/InstructionsTab.h"

#include "settings/ConversionSettings.h"
#include "ui/DialogGroupBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionButton>

#include <algorithm>

namespace orvalin {
namespace {

struct Standard {
    const char* text;
    const char* letter;
};
constexpr Standard kStandards[] = {
    {"C - Initially stopped, loops sound", "c"},
    {"D - Initially stopped, plays sound once", "d"},
    {"E - Initially playing, loops sound", "e"},
    {"F - Initially playing, plays sound once", "f"},
};

} // namespace

// The rows start inside the group's frame, below its title however tall the
// font makes it, and follow each other at their own height; the group grows
// to hold them.
class InstructionsTab::Rows {
public:
    Rows(QWidget& group, const DialogUnits& units)
        : group_(group), units_(units), top_(group.y() + group.contentsRect().top())
    {
    }

    void add(QWidget& control)
    {
        control.move(control.x(), top_);
        top_ = control.geometry().bottom() + 1;
        const QRect inside = group_.contentsRect().translated(group_.pos());
        const QPoint lacking =
            control.geometry().bottomRight() + QPoint(units_.x(2), units_.y(1)) - inside.bottomRight();
        group_.resize(group_.size() + QSize(std::max(0, lacking.x()), std::max(0, lacking.y())));
    }

    void skip(int pixels) { top_ += pixels; }

private:
    QWidget& group_;
    const DialogUnits& units_;
    int top_;
};

InstructionsTab::InstructionsTab(ConversionSettings& workingSettings, QWidget* parent)
    : OptionsPage(workingSettings, parent)
{
    const DialogUnits units = this->units();
    auto* group = new DialogGroupBox(QStringLiteral("Instruction"), this);
    units.place(*group, 11, 10, 234, 79);
    Rows rows(*group, units);

    const std::string current = workingSettings_.instructionLetter.substr(0, 1);
    const bool standardChosen = addStandardChoices(rows, current);
    const QRadioButton& special = addSpecialChoice(rows, !standardChosen);
    addLetterBox(rows, special, current, !standardChosen);

    auto* note = new QLabel(
        QStringLiteral("If you are using a controller then you can give it instructions here"), this);
    units.place(*note, 26, 96, 205, 8);
    note->move(note->x(), std::max(note->y(), group->geometry().bottom() + units.y(3)));
}

// Returns whether the current letter is one of the standard ones.
bool InstructionsTab::addStandardChoices(Rows& rows, const std::string& current)
{
    bool chosen = false;
    for (const Standard& standard : kStandards) {
        auto* button = new QRadioButton(QString::fromLatin1(standard.text), this);
        units().place(*button, 19, 0, 166, 10);
        rows.add(*button);
        const std::string letter = standard.letter;
        if (current == letter) {
            button->setChecked(true);
            chosen = true;
        }
        connect(button, &QRadioButton::clicked, this, [this, letter] {
            workingSettings_.instructionLetter = letter;
            letterBox_->setEnabled(false);
        });
    }
    return chosen;
}

const QRadioButton& InstructionsTab::addSpecialChoice(Rows& rows, bool chosen)
{
    // "repond" as the caption has always read; users and the help quote it.
    auto* special = new QRadioButton(
        QStringLiteral("Special (future controllers may repond to special instructions)"), this);
    units().place(*special, 19, 0, 208, 10);
    rows.add(*special);
    special->setChecked(chosen);
    // Special alone leaves a blank, which OK turns into the default letter,
    // until the user types one.
    connect(special, &QRadioButton::clicked, this, [this] {
        workingSettings_.instructionLetter.assign(1, ' ');
        letterBox_->setEnabled(true);
    });
    return *special;
}

// The Special text is too long to leave room for the box beside it: the box
// goes under it, where its text starts, next in the Tab order.
void InstructionsTab::addLetterBox(Rows& rows, const QRadioButton& special, const std::string& current,
                                   bool enabled)
{
    const DialogUnits units = this->units();
    letterBox_ = new QLineEdit(this);
    letterBox_->setAccessibleName(QStringLiteral("Special instruction letter"));
    QStyleOptionButton specialOption;
    specialOption.initFrom(&special);
    const QRect specialText = style()->subElementRect(QStyle::SE_RadioButtonContents, &specialOption, &special);
    units.place(*letterBox_, 0, 0, 12, 11);
    letterBox_->setGeometry(special.x() + specialText.x(), 0,
                            std::max(letterBox_->width(), letterBox_->minimumSizeHint().width()),
                            letterBox_->height());
    rows.skip(units.y(1));
    rows.add(*letterBox_);
    letterBox_->setEnabled(enabled);
    connect(letterBox_, &QLineEdit::textChanged, this,
            [this](const QString& text) { workingSettings_.instructionLetter = text.toStdString(); });
    letterBox_->setText(QString::fromStdString(current));
    // An unchanged text raises no change, yet the letter is always cut to its
    // first character here.
    workingSettings_.instructionLetter = current;
}

} // namespace orvalin
