#pragma once

#include "platform/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

namespace orvalin {

// Message boxes as Qt dialogs captioned "Orvalin"; those owned by the main
// window are modal over it.
class QtMessageBoxes final : public MessageBoxes {
public:
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons,
                       MessageOwner owner) override;

private:
    QPointer<QWidget> mainWindow_;
};

} // namespace orvalin
