#pragma once

#include "platform/MessageBoxes.h"

#include <map>
#include <string>

namespace orvalin {

// Message boxes on a console: messages are lines on standard error; a
// question is answered Yes when the user said so beforehand, asked on the
// terminal when there is one, and answered No otherwise.
class ConsoleMessages final : public MessageBoxes {
public:
    explicit ConsoleMessages(bool assumeYes) : assumeYes_(assumeYes) {}

    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons) override;

    // Gives a question the answer the user gave to it already, asked in
    // other words; it is then not asked again.
    void answerBeforehand(std::string question, bool yes) { answered_[std::move(question)] = yes; }

private:
    bool assumeYes_;
    std::map<std::string, bool, std::less<>> answered_;
};

} // namespace orvalin
