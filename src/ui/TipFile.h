#pragma once

#include <string>

namespace orvalin {

inline constexpr const char* kTipsFileName = "tips.da0";

struct TipChoice {
    std::string text;
    int number = 0;
};

// The tip for a wanted number, read anew from the tips file (one tip per
// line, counted from 1): a request of 0 gives the last tip and one beyond the
// last gives the first, so paging wraps both ways. Without a readable file
// the tip is empty and its number 1; a negative request matches nothing and
// keeps its number.
TipChoice selectTip(const std::string& tipsPath, int request);

// The request one step from a tip number, held at the ends of int's range:
// a step past the largest number still asks for a tip beyond the last, which
// gives the first, and one below the smallest still matches nothing.
int stepTipRequest(int tipNumber, int step);

} // namespace orvalin
