#pragma once

#include "cli/ConsoleProgress.h"

#include <string>
#include <vector>

namespace orvalin {

// A run's progress as a line of text: a bar, the percentage and the stage.
std::string progressText(int percent, int stageIndex);

// The progress of one run on the terminal's error output, redrawn in place.
class TerminalBar final : public ProgressView {
public:
    void show(int percent, int stageIndex) override;
    void clear() override;
};

// The progress of several runs on the terminal's error output, one line
// each, below whatever else is written there.
class TerminalBars {
public:
    void show(const std::vector<std::string>& lines);
    // Takes the lines away, so that other text can follow; call show again
    // after it.
    void clear();

private:
    std::size_t shown_ = 0;
};

} // namespace orvalin
