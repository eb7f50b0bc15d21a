#pragma once

#include <QColor>
#include <QLabel>

namespace orvalin {

// A label with colours and a font of its own: the large dialog titles, the
// tip area of the Tip of the day and the colour swatches. Colours it is given
// stay when the dialog colours are applied; colours it is not given follow
// the dialog.
class ColourLabel : public QLabel {
    Q_OBJECT

public:
    explicit ColourLabel(const QString& text = {}, QWidget* parent = nullptr);

    void setBackgroundColour(const QColor& colour);
    QColor backgroundColour() const;
    void setTextColour(const QColor& colour);
    QColor textColour() const;

    void setFontName(const QString& face);
    // The height of the characters themselves, not of their cell.
    void setFontHeight(int pixels);
    void setBold(bool bold);
};

} // namespace orvalin
