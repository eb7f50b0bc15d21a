#pragma once

#include <string>
#include <string_view>

namespace orvalin {

// UTF-8 text as windows-1252 bytes, the encoding browsers apply to pages
// labelled iso-8859-1. Characters it cannot hold become numeric character
// references (&#N;); malformed UTF-8 bytes, and C1 controls whose reference
// browsers would show as another character, become &#65533;.
std::string toWindows1252(std::string_view utf8);

} // namespace orvalin
