#pragma once

#include <QGroupBox>

namespace orvalin {

// A group box that shows the dialog's own grey inside its frame: the
// platform style shades the inside of group boxes, which would set them
// apart from the page around them.
class DialogGroupBox final : public QGroupBox {
    Q_OBJECT

public:
    explicit DialogGroupBox(const QString& title, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orvalin
