// Choosing a tip from an arbitrary tips file.
#include "support/FuzzCheck.h"
#include "support/FuzzFiles.h"

#include "ui/TipFile.h"

#include <string_view>
#include <vector>

using namespace orvalin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::MemoryFile tips;
    if (size < 1)
        return 0;
    // The first byte is the request, -2 to 253, so both wraps are reached.
    const int request = static_cast<int>(data[0]) - 2;
    tips.replaceContents(data + 1, size - 1);

    std::vector<std::string_view> lines;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    const int count = static_cast<int>(lines.size());

    const TipChoice choice = selectTip(tips.path(), request);
    if (request < 0) {
        fuzz::check(choice.number == request && choice.text.empty(), "a negative request matches nothing");
        return 0;
    }
    // An empty file has no last tip: a request of 0 keeps its number there.
    int expected = request == 0 ? count : request;
    if (expected > count)
        expected = 1;
    fuzz::check(choice.number == expected, "the tip's number follows the paging rules");
    const std::string_view wanted = count == 0 ? std::string_view{} : lines[static_cast<std::size_t>(expected - 1)];
    fuzz::check(choice.text == wanted, "the tip is the line of its number");
    return 0;
}
