#pragma once

#include <string>

namespace orvalin {

struct ConversionSettings;
class OutputNames;

// The page text made safe for the page: "&", "<", ">" and "|" become "*",
// "(", ")" and "!"; an empty text becomes one blank.
std::string sanitizePageText(std::string text);

// Writes the run's page, which embeds the streaming animation (bare output)
// or the controller copy under the output text, in the chosen colours.
class WebPageWriter {
public:
    WebPageWriter(const ConversionSettings& settings, std::string outputText);

    // Writes the page to path; false, with nothing left there, when it could
    // not be written whole.
    bool writePage(const std::string& path, const OutputNames& names);

private:
    std::string pageText(const OutputNames& names) const;

    const ConversionSettings& settings_;
    const std::string outputText_;
};

} // namespace orvalin
