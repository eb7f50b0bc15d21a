#include "Id3Bytes.h"

namespace orvalin::test {
namespace {

std::string field(std::string_view text, std::size_t length)
{
    std::string out(text.substr(0, length));
    out.resize(length, '\0');
    return out;
}

} // namespace

std::string bigEndianBytes(std::uint32_t value, int count)
{
    std::string out;
    for (int shift = 8 * (count - 1); shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

std::string syncsafeBytes(std::uint32_t value)
{
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7)
        out += static_cast<char>((value >> shift) & 0x7F);
    return out;
}

std::string id3v2Header(int majorVersion, std::uint8_t flags, std::uint32_t tagSize)
{
    std::string out = "ID3";
    out += static_cast<char>(majorVersion);
    out += '\0';
    out += static_cast<char>(flags);
    return out + syncsafeBytes(tagSize);
}

std::string id3v2Frame(int majorVersion, std::string_view id, std::string_view data)
{
    const auto size = static_cast<std::uint32_t>(data.size());
    if (majorVersion == 2)
        return std::string(id) + bigEndianBytes(size, 3) + std::string(data);
    return frameWithSizeBytes(id, majorVersion == 4 ? syncsafeBytes(size) : bigEndianBytes(size, 4), data);
}

std::string frameWithSizeBytes(std::string_view id, std::string_view sizeBytes, std::string_view data)
{
    return std::string(id) + std::string(sizeBytes) + std::string(2, '\0') + std::string(data);
}

std::string textData(std::uint8_t encoding, std::string_view text)
{
    return static_cast<char>(encoding) + std::string(text);
}

std::string id3v2Tag(int majorVersion, std::string_view frames, std::size_t padding)
{
    return id3v2Header(majorVersion, 0, static_cast<std::uint32_t>(frames.size() + padding)) +
           std::string(frames) + std::string(padding, '\0');
}

std::string id3v1Tag(std::string_view title, std::string_view artist)
{
    return "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "2001" +
           field("Comment", 30) + std::string(1, '\x0C');
}

std::string audioBytes()
{
    std::string out = "\xFF\xFB\x90\x64";
    out.resize(1000, '\x55');
    return out;
}

} // namespace orvalin::test
