#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace orvalin {

// The desktop's own choosers, each modal over its owner. Nothing is returned
// when the user cancels.
class SystemDialogs {
public:
    virtual ~SystemDialogs() = default;

    // Any file: the open-file dialog has no type filter.
    virtual std::optional<QString> chooseInputFile(QWidget* owner) = 0;
    // The folder browser, with the given title, opened at the start folder;
    // the path as the desktop gives it.
    virtual std::optional<QString> browseFolder(QWidget* owner, const QString& title,
                                                const QString& startFolder) = 0;
    // The colour chooser; it starts from red 1, green 0, blue 0, not from the
    // colour being edited.
    virtual std::optional<QColor> chooseColour(QWidget* owner) = 0;
};

} // namespace orvalin
