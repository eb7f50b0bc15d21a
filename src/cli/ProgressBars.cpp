#include "cli/ProgressBars.h"

#include "job/ConversionJob.h"

#include <algorithm>
#include <cstdio>

namespace orvalin {
namespace {

constexpr int kBarWidth = 30;

const char* stageName(int stageIndex)
{
    switch (stageIndex) {
    case ConversionJob::Decoding: return "Decoding";
    case ConversionJob::Encoding: return "Encoding";
    case ConversionJob::WritingAnimation: return "Writing animation";
    default: return "Preparing";
    }
}

// Moves the cursor to the start of the first of the lines shown.
void backOver(std::size_t lines)
{
    if (lines > 0)
        std::fprintf(stderr, "\033[%zuF", lines);
}

} // namespace

std::string progressText(int percent, int stageIndex)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kBarWidth / 100;
    char text[kBarWidth + 40];
    std::snprintf(text, sizeof text, "[%s%s] %3d%%  %s", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                  std::string(static_cast<std::size_t>(kBarWidth - filled), '.').c_str(), percent,
                  stageName(stageIndex));
    return text;
}

void TerminalBar::show(int percent, int stageIndex)
{
    std::fprintf(stderr, "\r%s\033[K", progressText(percent, stageIndex).c_str());
    std::fflush(stderr);
}

void TerminalBar::clear()
{
    std::fputs("\r\033[K", stderr);
}

void TerminalBars::show(const std::vector<std::string>& lines)
{
    backOver(shown_);
    for (const auto& line : lines)
        std::fprintf(stderr, "%s\033[K\n", line.c_str());
    std::fputs("\033[J", stderr);
    std::fflush(stderr);
    shown_ = lines.size();
}

void TerminalBars::clear()
{
    backOver(shown_);
    std::fputs("\033[J", stderr);
    std::fflush(stderr);
    shown_ = 0;
}

} // namespace orvalin
