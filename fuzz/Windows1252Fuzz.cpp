// The page text's way from UTF-8 to windows-1252, for arbitrary bytes.
#include "support/FuzzCheck.h"

#include "web/WebPageWriter.h"
#include "web/Windows1252.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

using namespace orvalin;

namespace {

// What windows-1252 keeps at 0x80 to 0x9F; 0 where it defines nothing.
constexpr std::array<char32_t, 32> kHighRow = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The characters of well-formed UTF-8, or nothing for malformed bytes.
std::optional<std::vector<char32_t>> decodeUtf8(std::string_view text)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        const char32_t minimum = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        out.push_back(code);
        i += length;
    }
    return out;
}

// What the page may show for a character: C1 controls a reference cannot
// keep come out as the replacement character.
char32_t shownAs(char32_t c)
{
    const bool leftAlone = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    return c >= 0x80 && c <= 0x9F && !leftAlone ? 0xFFFD : c;
}

// Reads windows-1252 text with character references back into characters.
// Every "&" must start a reference to a character the encoding cannot hold.
std::vector<char32_t> decodePage(std::string_view page)
{
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < page.size(); ++i) {
        const auto byte = static_cast<unsigned char>(page[i]);
        if (byte == '&') {
            fuzz::check(page.substr(i, 2) == "&#", "an ampersand starts a reference");
            std::size_t end = i + 2;
            char32_t code = 0;
            while (end < page.size() && page[end] >= '0' && page[end] <= '9' && code <= 0x10FFFF)
                code = code * 10 + static_cast<char32_t>(page[end++] - '0');
            fuzz::check(end > i + 2 && end < page.size() && page[end] == ';', "a reference is digits and a semicolon");
            const bool leftAlone = code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
            fuzz::check((code > 0xFF || leftAlone) && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF),
                        "a reference names a character the encoding lacks and browsers show as itself");
            out.push_back(code);
            i = end;
        } else if (byte >= 0x80 && byte <= 0x9F) {
            fuzz::check(kHighRow[byte - 0x80] != 0, "no byte windows-1252 leaves undefined");
            out.push_back(kHighRow[byte - 0x80]);
        } else {
            out.push_back(byte);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = sanitizePageText(std::string(reinterpret_cast<const char*>(data), size));
    const auto characters = decodePage(toWindows1252(text));
    // Well-formed text comes back character for character; malformed bytes
    // each become one replacement character at most.
    if (auto expected = decodeUtf8(text)) {
        for (char32_t& c : *expected)
            c = shownAs(c);
        fuzz::check(characters == *expected, "the page holds exactly the text's characters");
    }
    else
        fuzz::check(characters.size() <= text.size(), "no byte becomes more than one character");
    return 0;
}
