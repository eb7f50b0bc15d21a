#include "ui/ControllerSketch.h"

#include "web/ControllerSize.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace orvalin {

ControllerSketch::ControllerSketch(ControllerFolders folders, QWidget* parent)
    : QWidget(parent), folders_(std::move(folders))
{
    setAccessibleName(QStringLiteral("Controller size"));
}

void ControllerSketch::showController(const QString& name)
{
    const ControllerSize size = parseControllerSize(name.toStdString());
    width_ = size.width;
    height_ = size.height;
    // A controller need not have a picture; one that cannot be read leaves
    // the renderer invalid as well, and the box stands in for it. The picture
    // is the one beside the movie a run would copy.
    const std::string movieFolder = folders_.holding(name.toStdString() + ".swf");
    const QString picture = QString::fromStdString(movieFolder) + name + QStringLiteral(".svg");
    if (QFileInfo::exists(picture))
        picture_.load(picture);
    else
        picture_.load(QByteArray());
    setAccessibleDescription(caption());
    setToolTip(caption());
    update();
}

QString ControllerSketch::caption() const
{
    if (width_ <= 0 || height_ <= 0)
        return tr("No size in its name");
    return tr("%1 × %2 pixels").arg(width_).arg(height_);
}

void ControllerSketch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect textArea(0, height() - metrics.height(), width(), metrics.height());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textArea, Qt::AlignCenter, caption());
    if (width_ <= 0 || height_ <= 0)
        return;

    // The declared box, shrunk (never enlarged) to fit above the caption;
    // the picture fills it, whatever size the file itself states.
    const QRect area = rect().adjusted(1, 1, -1, -metrics.height() - 2);
    const double scale = std::min({1.0, double(area.width()) / width_, double(area.height()) / height_});
    const QSize box(std::max(1, int(width_ * scale)), std::max(1, int(height_ * scale)));
    const QRect frame(area.center() - QPoint(box.width() / 2, box.height() / 2), box);
    painter.setRenderHint(QPainter::Antialiasing);
    if (picture_.isValid()) {
        picture_.render(&painter, frame);
        return;
    }
    painter.setBrush(palette().color(QPalette::Mid));
    painter.drawRoundedRect(frame, 3, 3);
}

} // namespace orvalin
