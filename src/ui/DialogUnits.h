#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace orvalin {

// Converts dialog units to pixels as Windows does, from the dialog font's
// average character width and its height, so that a window keeps its
// proportions whatever the font size or screen scale.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    int x(int units) const;
    int y(int units) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

    // Places a control; a control never gets less height than its style needs
    // to draw its text, so nothing is clipped with larger fonts.
    void place(QWidget& control, int x, int y, int width, int height) const;

private:
    int averageWidth_;
    int characterHeight_;
};

} // namespace orvalin
