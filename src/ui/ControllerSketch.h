#pragma once

#include "web/ControllerCatalogue.h"

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
    explicit ControllerSketch(ControllerFolders folders, QWidget* parent = nullptr);

    void showController(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption() const;

    ControllerFolders folders_;
    QSvgRenderer picture_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace orvalin
