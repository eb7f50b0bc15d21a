#include "ui/ColoursTab.h"

#include "settings/ConversionSettings.h"
#include "ui/ColourLabel.h"
#include "ui/HtmlColour.h"
#include "ui/SystemDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvalin {

ColoursTab::ColoursTab(ConversionSettings& workingSettings, SystemDialogs& systemDialogs,
                       QWidget* parent)
    : OptionsPage(workingSettings, parent), systemDialogs_(systemDialogs)
{
    addColourEditor(QStringLiteral("&Background"), QStringLiteral("&Pick Colour"), 17,
                    workingSettings_.backgroundColour);
    addColourEditor(QStringLiteral("&Text"), QStringLiteral("P&ick Colour"), 41,
                    workingSettings_.textColour);

    auto* hint = new QLabel(QStringLiteral("Enter HTML values or use the colour pickers"), this);
    units().place(*hint, 54, 80, 149, 8);
}

void ColoursTab::addColourEditor(const QString& label, const QString& pickCaption, int y,
                                 std::string& setting)
{
    const DialogUnits units = this->units();
    auto* caption = new QLabel(label, this);
    const ColourEditor editor{new QLineEdit(this), new ColourLabel(QString(), this)};
    const QString name = QString(label).remove(QLatin1Char('&'));
    editor.box->setAccessibleName(name + QStringLiteral(" colour"));
    editor.swatch->setAccessibleName(name + QStringLiteral(" swatch"));
    units.place(*editor.box, 98, y, 34, 12);
    units.placeLabelBefore(*caption, *editor.box, 53, y + 2, 39, 8);
    units.place(*editor.swatch, 137, y, 13, 12);
    editor.swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
    caption->setBuddy(editor.box);
    auto* pickButton = new QPushButton(pickCaption, this);
    units.place(*pickButton, 155, y - 1, 50, 14);

    connect(editor.box, &QLineEdit::textChanged, this, [editor, &setting](const QString& text) {
        setting = text.toStdString();
        editor.swatch->setBackgroundColour(parseHtmlColour(text));
        editor.swatch->repaint();
    });
    connect(pickButton, &QPushButton::clicked, this, [this, editor] { pickColour(editor); });

    editor.box->setText(QString::fromStdString(setting));
    editor.swatch->setBackgroundColour(parseHtmlColour(editor.box->text()));
}

void ColoursTab::pickColour(const ColourEditor& editor)
{
    const auto colour = systemDialogs_.chooseColour(this);
    if (!colour)
        return;
    // The text change stores the value and shows it in the swatch.
    editor.box->setText(formatHtmlColour(*colour));
}

} // namespace orvalin
