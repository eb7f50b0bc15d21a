#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvalin::test {

// Tags built byte by byte, for the cases no tagger writes. Byte strings are
// std::string, so they join with +.

std::string bigEndianBytes(std::uint32_t value, int count);
std::string syncsafeBytes(std::uint32_t value);

// The ten-byte ID3v2 header with a syncsafe tag size.
std::string id3v2Header(int majorVersion, std::uint8_t flags, std::uint32_t tagSize);

// A frame with its size written the way the version wants it.
std::string id3v2Frame(int majorVersion, std::string_view id, std::string_view data);

// A version 2.3 or 2.4 frame with the size bytes given as they are.
std::string frameWithSizeBytes(std::string_view id, std::string_view sizeBytes, std::string_view data);

// The data of a text frame: the encoding byte, then the text bytes.
std::string textData(std::uint8_t encoding, std::string_view text);

// A whole ID3v2 tag: header, frames and zero padding.
std::string id3v2Tag(int majorVersion, std::string_view frames, std::size_t padding = 0);

// A 128-byte ID3v1 tag; fields are cut or zero-padded to 30 bytes.
std::string id3v1Tag(std::string_view title, std::string_view artist);

// Bytes that stand for MPEG audio; the input check does not look at them.
std::string audioBytes();

} // namespace orvalin::test
