#include "settings/SettingsRules.h"

namespace orvalin {

std::string compressionRuleMessage(int sampleRate, int bitrate)
{
    std::string message;
    if (sampleRate == 11025 && bitrate > 64)
        message += "Sample rate 11025 Hz cannot be used with bitrates above 64 kb/s.\n";
    if (sampleRate == 22050 && bitrate > 160)
        message += "Sample rate 22050 Hz cannot be used with bitrates above 160 kb/s.\n";
    // The line names 64 kb/s, so that is the bound we keep to.
    if (sampleRate == 44100 && bitrate < 64)
        message += "Sample rate 44100 Hz cannot be used with bitrates below 64 kb/s.\n";
    return message;
}

std::string normaliseInstructionLetter(const std::string& letter)
{
    char first = (letter + " ")[0];
    if (first >= 'A' && first <= 'Z')
        first = static_cast<char>(first - 'A' + 'a');
    if (first < 'a' || first > 'z' || first == 's')
        first = 'c';
    return std::string(1, first);
}

} // namespace orvalin
