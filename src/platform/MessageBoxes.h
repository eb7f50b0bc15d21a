#pragma once

#include <string_view>

namespace orvalin {

enum class MessageIcon { Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Message boxes captioned "Orvalin". Implemented by the desktop program, the
// command-line front end and the tests. Which window a box belongs to is the
// front end's choice: it hands each part of the program the boxes it wants
// that part's messages in.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    virtual MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons) = 0;

    void warn(std::string_view text) { show(text, MessageIcon::Warning, MessageButtons::Ok); }

    bool askYesNo(std::string_view text)
    {
        return show(text, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
    }
};

} // namespace orvalin
