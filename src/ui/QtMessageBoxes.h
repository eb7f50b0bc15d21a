#pragma once

#include "platform/MessageBoxes.h"

#include <QPointer>
#include <QWidget>

namespace orvalin {

// Message boxes as Qt dialogs captioned "Orvalin", modal over their owner
// window once it is set, and on their own without one.
class QtMessageBoxes final : public MessageBoxes {
public:
    void setOwner(QWidget* window) { owner_ = window; }

    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace orvalin
