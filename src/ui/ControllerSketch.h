#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace orvalin {

// Stands in for a Flash player, which Linux does not have: shows the chosen
// controller's picture, the SVG file beside its movie, in the box its name
// declares, drawn to scale, with its size below. A controller without a
// picture shows as the bare box.
class ControllerSketch final : public QWidget {
    Q_OBJECT

public:
    explicit ControllerSketch(const QString& controllersFolder, QWidget* parent = nullptr);

    void showController(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption() const;

    QString controllersFolder_;
    QSvgRenderer picture_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace orvalin
