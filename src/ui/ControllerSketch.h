#pragma once

#include <QWidget>

namespace orvalin {

// Stands in for a Flash player, which Linux does not have: shows the chosen
// controller as the box its name declares, drawn to scale, with its size.
class ControllerSketch final : public QWidget {
    Q_OBJECT

public:
    explicit ControllerSketch(QWidget* parent = nullptr);

    void showController(const QString& name);

    int declaredWidth() const { return width_; }
    int declaredHeight() const { return height_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption() const;

    int width_ = 0;
    int height_ = 0;
};

} // namespace orvalin
