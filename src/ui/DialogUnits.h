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

    // Places a control. A control never gets less height than its style
    // needs, and a one-line text (a label, check box or radio button) never
    // less width than its text needs: fonts differ in their widths, and the
    // text must not be clipped in any of them.
    void place(QWidget& control, int x, int y, int width, int height) const;

    // Places a label so that it ends a little before the control it names,
    // growing to the left when its text needs more room.
    void placeLabelBefore(QWidget& label, const QWidget& control, int x, int y, int width,
                          int height) const;

private:
    int averageWidth_;
    int characterHeight_;
};

} // namespace orvalin
