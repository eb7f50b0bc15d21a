#include "audio/Id3Text.h"

namespace orvalin {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string_view upToFirstZero(std::string_view bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// Length of the well-formed UTF-8 sequence at the start of text, 0 when
// there is none (stray continuation, overlong form, surrogate, beyond U+10FFFF).
std::size_t utf8SequenceLength(std::string_view text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return 1;
    std::size_t length;
    char32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF)
        return 0;
    return length;
}

bool isValidUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = utf8SequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string utf8Text(std::string_view bytes)
{
    std::string_view text = upToFirstZero(bytes);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    // Some taggers label ISO-8859-1 bytes as UTF-8; read those as they were meant.
    if (!isValidUtf8(text))
        return latin1ToUtf8(text);
    return std::string(text);
}

std::string utf16Text(std::string_view bytes, bool bigEndian)
{
    std::string out;
    char32_t highSurrogate = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const char32_t unit = bigEndian ? (first << 8 | second) : (second << 8 | first);
        if (unit == 0)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (highSurrogate != 0)
                appendUtf8(out, kReplacementCharacter);
            highSurrogate = unit;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (highSurrogate != 0)
                appendUtf8(out, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
            else
                appendUtf8(out, kReplacementCharacter);
            highSurrogate = 0;
            continue;
        }
        if (highSurrogate != 0)
            appendUtf8(out, kReplacementCharacter);
        highSurrogate = 0;
        if (unit != 0xFEFF) // a byte-order mark is no character of the text
            appendUtf8(out, unit);
    }
    if (highSurrogate != 0)
        appendUtf8(out, kReplacementCharacter);
    return out;
}

std::string utf16TextWithByteOrderMark(std::string_view bytes)
{
    if (bytes.starts_with("\xFE\xFF"))
        return utf16Text(bytes.substr(2), true);
    if (bytes.starts_with("\xFF\xFE"))
        return utf16Text(bytes.substr(2), false);
    // Without a mark, take the order the Windows taggers that omit it use.
    return utf16Text(bytes, false);
}

} // namespace

std::string latin1ToUtf8(std::string_view latin1)
{
    std::string out;
    for (const char byte : upToFirstZero(latin1))
        appendUtf8(out, static_cast<unsigned char>(byte));
    return out;
}

std::string id3v2TextToUtf8(std::uint8_t encoding, std::string_view bytes)
{
    switch (encoding) {
    case 1:
        return utf16TextWithByteOrderMark(bytes);
    case 2:
        return utf16Text(bytes, true);
    case 3:
        return utf8Text(bytes);
    default:
        return latin1ToUtf8(bytes);
    }
}

} // namespace orvalin
