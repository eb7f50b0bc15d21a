#pragma once

#include "platform/MessageBoxes.h"

namespace orvalin {

// Message boxes on a console: messages are lines on standard error; a
// question is answered Yes when the user said so beforehand, asked on the
// terminal when there is one, and answered No otherwise.
class ConsoleMessages final : public MessageBoxes {
public:
    explicit ConsoleMessages(bool assumeYes) : assumeYes_(assumeYes) {}

    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

private:
    bool assumeYes_;
};

} // namespace orvalin
