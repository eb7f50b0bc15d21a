#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalin {

// ISO-8859-1 bytes as UTF-8, up to the first zero byte: ID3v1 fields are
// padded with zeros, and some taggers leave stale bytes behind the first one.
std::string latin1ToUtf8(std::string_view latin1);

// The first string of an ID3v2 text frame as UTF-8. The encoding byte says
// how the bytes are stored: 0 ISO-8859-1, 1 UTF-16 with byte-order mark,
// 2 UTF-16 big-endian, 3 UTF-8. Unknown encodings are read as ISO-8859-1.
std::string id3v2TextToUtf8(std::uint8_t encoding, std::string_view bytes);

} // namespace orvalin
