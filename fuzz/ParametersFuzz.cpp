// Reading a parameters file of arbitrary text.
#include "support/FuzzCheck.h"
#include "support/ReferenceAtoi.h"

#include "settings/ParametersFile.h"

#include <string_view>

using namespace orvalin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ConversionSettings settings = parseParameters(text);

    // Writing what was read and reading it again changes nothing.
    fuzz::check(parseParameters(formatParameters(settings)) == settings, "settings survive a save");

    // The number lines read as C reads them; the bitrate is line eleven.
    std::string_view rest = text;
    for (int line = 1; line < 11 && !rest.empty(); ++line) {
        const auto end = rest.find('\n');
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    fuzz::check(settings.bitrate == fuzz::referenceAtoi(rest.substr(0, rest.find('\n'))),
                "a number line reads as C reads it");
    return 0;
}
