#include "web/Windows1252.h"

#include <array>
#include <cstdint>
#include <utility>

namespace orvalin {
namespace {

// The characters windows-1252 keeps at 0x80 to 0x9F.
constexpr std::array<std::pair<char32_t, std::uint8_t>, 27> kHighPunctuation = {{
    {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
    {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
    {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
    {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
    {0x017E, 0x9E}, {0x0178, 0x9F},
}};

constexpr char32_t kReplacement = 0xFFFD;

// Browsers read a reference to a C1 control windows-1252 defines a character
// for as that character (&#130; shows as U+201A), so such a control cannot be
// written as itself.
bool referenceReadAsOtherCharacter(char32_t c)
{
    if (c < 0x80 || c > 0x9F)
        return false;
    return c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

// Decodes one character at text[i], advancing i; malformed input yields the
// replacement character and consumes one byte.
char32_t nextCharacter(std::string_view text, std::size_t& i)
{
    const auto lead = static_cast<std::uint8_t>(text[i]);
    int length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<std::uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += length;
    return value;
}

} // namespace

std::string toWindows1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCharacter(utf8, i);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        bool mapped = false;
        for (const auto& [character, byte] : kHighPunctuation) {
            if (character == c) {
                out += static_cast<char>(byte);
                mapped = true;
                break;
            }
        }
        if (!mapped) {
            const char32_t shown = referenceReadAsOtherCharacter(c) ? kReplacement : c;
            out += "&#" + std::to_string(static_cast<std::uint32_t>(shown)) + ";";
        }
    }
    return out;
}

} // namespace orvalin
