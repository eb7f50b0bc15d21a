#pragma once

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>
#include <string_view>

namespace orvalin::fuzz {

// C's own reading of a leading integer, saturated to int, to hold the
// program's locale-free reader against.
inline int referenceAtoi(std::string_view text)
{
    const std::string terminated(text);
    errno = 0;
    const long long value = std::strtoll(terminated.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace orvalin::fuzz
