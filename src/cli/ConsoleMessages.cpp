#include "cli/ConsoleMessages.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <unistd.h>

namespace orvalin {

MessageAnswer ConsoleMessages::show(std::string_view text, MessageIcon, MessageButtons buttons)
{
    if (buttons == MessageButtons::Ok) {
        std::cerr << text << '\n';
        return MessageAnswer::Ok;
    }
    if (assumeYes_)
        return MessageAnswer::Yes;
    if (const auto answer = answered_.find(text); answer != answered_.end())
        return answer->second ? MessageAnswer::Yes : MessageAnswer::No;

    bool yes = false;
    if (isatty(STDIN_FILENO)) {
        std::cerr << text << "\n[y/N] " << std::flush;
        std::string answer;
        std::getline(std::cin, answer);
        yes = answer == "y" || answer == "Y" || answer == "yes";
    } else {
        std::cerr << text << "\nNo terminal to answer on: taken as No (use --yes to overwrite).\n";
    }
    return yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace orvalin
