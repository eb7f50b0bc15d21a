#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// ID3 tags built byte by byte, for the input check's tests and the fuzz seeds.
// Byte strings are std::string, so that they join with +.
namespace orvalin::test {

// Big-endian, of eight bits a byte or, syncsafe, of seven.
inline std::string bigEndianBytes(std::size_t value, int count = 4, int bits = 8)
{
    std::string out;
    for (int i = count - 1; i >= 0; --i)
        out += static_cast<char>((value >> (bits * i)) & ((1u << bits) - 1));
    return out;
}

inline std::string syncsafeBytes(std::size_t value) { return bigEndianBytes(value, 4, 7); }

inline std::string id3v2Header(int version, std::size_t tagSize, char flags = 0)
{
    return "ID3" + std::string{static_cast<char>(version), '\0', flags} + syncsafeBytes(tagSize);
}

// A frame with its size as the version writes it, or with the size bytes given.
inline std::string id3v2Frame(int version, std::string_view id, std::string_view data,
                              const std::optional<std::string>& sizeBytes = {})
{
    if (version == 2)
        return std::string(id) + bigEndianBytes(data.size(), 3) + std::string(data);
    const std::string size = version == 4 ? syncsafeBytes(data.size()) : bigEndianBytes(data.size());
    return std::string(id) + sizeBytes.value_or(size) + std::string(2, '\0') + std::string(data);
}

// The data of a text frame: the encoding byte, then the text's bytes.
inline std::string textData(std::uint8_t encoding, std::string_view text) { return static_cast<char>(encoding) + std::string(text); }

inline std::string id3v2Tag(int version, const std::string& frames, std::size_t padding = 0)
{
    return id3v2Header(version, frames.size() + padding) + frames + std::string(padding, '\0');
}

// 128 bytes; the fields cut or filled with zeros to 30 bytes.
inline std::string id3v1Tag(std::string_view title, std::string_view artist)
{
    std::string fields[] = {std::string(title), std::string(artist), "Album", "Comment"};
    for (std::string& field : fields)
        field.resize(30, '\0');
    return "TAG" + fields[0] + fields[1] + fields[2] + "2001" + fields[3] + "\x0C";
}

// Stands for MPEG audio, at which the input check does not look.
inline std::string audioBytes() { return "\xFF\xFB\x90\x64" + std::string(996, '\x55'); }

} // namespace orvalin::test
