#include "ui/OutputTab.h"

#include "common/OutputNames.h"
#include "platform/Folders.h"
#include "settings/ConversionSettings.h"
#include "ui/DialogGroupBox.h"
#include "ui/SystemDialogs.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace orvalin {

OutputTab::OutputTab(ConversionSettings& workingSettings, SystemDialogs& systemDialogs,
                     QWidget* parent)
    : OptionsPage(workingSettings, parent), systemDialogs_(systemDialogs)
{
    const DialogUnits units = this->units();
    auto* group = new DialogGroupBox(QStringLiteral("Output files go here"), this);
    units.place(*group, 8, 12, 242, 68);

    auto* toDesktop = new QRadioButton(QStringLiteral("To &desktop"), this);
    auto* toFolder = new QRadioButton(QStringLiteral("To specified &folder"), this);
    units.place(*toDesktop, 16, 26, 98, 8);
    units.place(*toFolder, 16, 41, 107, 8);

    folderBox_ = new QLineEdit(this);
    folderBox_->setAccessibleName(QStringLiteral("Output folder"));
    units.place(*folderBox_, 31, 58, 158, 11);
    browseButton_ = new QPushButton(QStringLiteral("&Browse"), this);
    units.place(*browseButton_, 193, 56, 50, 14);

    auto* numberLabel = new QLabel(QStringLiteral("Next output file number"), this);
    units.place(*numberLabel, 16, 87, 77, 12);
    auto* numberBox = new QLineEdit(this);
    numberBox->setAccessibleName(numberLabel->text());
    numberBox->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), numberBox));
    units.place(*numberBox, 96, 86, 39, 11);
    // With a wide font the label needs more room; the box then moves along.
    numberBox->move(std::max(numberBox->x(), numberLabel->geometry().right() + units.x(3)),
                    numberBox->y());
    numberLabel->setBuddy(numberBox);

    // No browser today has the Flash plug-in the page was made for.
    auto* webPlayer = new QCheckBox(QStringLiteral("&Page plays in today's browsers"), this);
    units.place(*webPlayer, 16, 99, 200, 8);
    webPlayer->setChecked(workingSettings_.webPlayer);
    connect(webPlayer, &QCheckBox::toggled, this, [this](bool on) { workingSettings_.webPlayer = on; });

    connect(folderBox_, &QLineEdit::textChanged, this,
            [this](const QString& text) { workingSettings_.outputFolder = text.toStdString(); });
    connect(numberBox, &QLineEdit::textChanged, this, [this](const QString& text) {
        workingSettings_.nextOutputNumber = outputNumberFromText(text.toStdString());
    });
    connect(toDesktop, &QRadioButton::clicked, this, [this] { setToDesktop(true); });
    connect(toFolder, &QRadioButton::clicked, this, [this] { setToDesktop(false); });
    connect(browseButton_, &QPushButton::clicked, this, &OutputTab::browseFolder);

    folderBox_->setText(QString::fromStdString(workingSettings_.outputFolder));
    numberBox->setText(QString::number(workingSettings_.nextOutputNumber));
    const bool desktop = workingSettings_.outputToDesktop;
    toDesktop->setChecked(desktop);
    toFolder->setChecked(!desktop);
    folderBox_->setEnabled(!desktop);
    browseButton_->setEnabled(!desktop);
}

void OutputTab::setToDesktop(bool toDesktop)
{
    workingSettings_.outputToDesktop = toDesktop;
    folderBox_->setEnabled(!toDesktop);
    browseButton_->setEnabled(!toDesktop);
}

void OutputTab::browseFolder()
{
    // The browser opens where the outputs go now, not wherever the program
    // happened to be started.
    const QString current = folderBox_->text();
    const auto folder = systemDialogs_.browseFolder(this, QString::fromLatin1(kBrowseTitle),
                                                    current.isEmpty() ? QDir::homePath() : current);
    if (!folder)
        return;
    // The text change stores the folder in the working copy.
    folderBox_->setText(QString::fromStdString(withTrailingSeparator(folder->toStdString())));
}

} // namespace orvalin
