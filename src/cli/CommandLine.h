#pragma once

#include "common/OutputChoices.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalin {

struct ConversionSettings;

// What the command line asks for. Setting options apply to this invocation
// only; the parameters file keeps its own values.
struct ConvertOptions {
    static constexpr int kMostJobs = 64;

    std::vector<std::string> inputs;
    std::optional<std::string> outputDir;
    std::optional<int> number;
    std::optional<std::string> text;
    std::optional<int> bitrate;
    std::optional<int> sampleRate;
    std::optional<int> channels;
    std::optional<OutputMode> outputMode;
    std::optional<std::string> controller;
    std::optional<std::string> letter;
    std::optional<std::string> background;
    std::optional<std::string> textColour;
    std::optional<bool> webPlayer;
    std::optional<std::string> settingsPath;
    int jobs = 1; // inputs converted at once
    bool assumeYes = false;
    bool quiet = false;
    bool showHelp = false;
    bool showVersion = false;
};

struct ParsedCommandLine {
    ConvertOptions options;
    std::string error; // empty when the command line is well formed
};

ParsedCommandLine parseCommandLine(int argc, char** argv);

std::string usageText();

// Lays the options over the saved settings and checks the result as the
// Options dialog does on OK. Returns the problems, one line each; the
// instruction letter is normalised.
std::vector<std::string> applyOptions(const ConvertOptions& options, ConversionSettings& settings);

} // namespace orvalin
