#pragma once

#include <string_view>

namespace orvalin {

enum class MessageIcon { Warning, Error, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Which window a message box belongs to. The desktop program maps MainWindow
// to its main window; front ends without windows ignore the owner.
enum class MessageOwner { None, MainWindow };

// Message boxes captioned "Orvalin". Implemented by the desktop program, the
// command-line front end and the tests.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    virtual MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons,
                               MessageOwner owner) = 0;

    void warn(std::string_view text, MessageOwner owner)
    {
        show(text, MessageIcon::Warning, MessageButtons::Ok, owner);
    }

    bool askYesNo(std::string_view text, MessageOwner owner)
    {
        return show(text, MessageIcon::Question, MessageButtons::YesNo, owner) == MessageAnswer::Yes;
    }
};

} // namespace orvalin
