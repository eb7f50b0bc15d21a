#pragma once

#include <cstdio>
#include <cstdlib>

namespace orvalin::fuzz {

// A property of the code under test that every input must keep. A broken one
// aborts, so that the fuzzer keeps the input that broke it.
inline void check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "Property broken: %s\n", property);
        std::abort();
    }
}

} // namespace orvalin::fuzz
