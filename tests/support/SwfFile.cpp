#include "SwfFile.h"

#include <stdexcept>

namespace orvalin::test {

unsigned readUi16(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    if (offset + 2 > bytes.size())
        throw std::runtime_error("read past the end");
    return bytes[offset] | (bytes[offset + 1] << 8);
}

std::uint32_t readUi32(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return readUi16(bytes, offset) | (static_cast<std::uint32_t>(readUi16(bytes, offset + 2)) << 16);
}

std::vector<const SwfTag*> SwfFile::tagsWithCode(int code) const
{
    std::vector<const SwfTag*> found;
    for (const auto& tag : tags) {
        if (tag.code == code)
            found.push_back(&tag);
    }
    return found;
}

SwfFile parseSwf(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < 20)
        throw std::runtime_error("too short for a header");
    SwfFile swf;
    swf.bytes = bytes;
    swf.signature.assign(bytes.begin(), bytes.begin() + 3);
    swf.version = bytes[3];
    swf.declaredLength = readUi32(bytes, 4);
    swf.frameRect.assign(bytes.begin() + 8, bytes.begin() + 14);
    swf.frameRate = bytes[15] + bytes[14] / 256.0;
    swf.frameCount = static_cast<int>(readUi16(bytes, 16));

    std::size_t offset = 18;
    for (;;) {
        const unsigned header = readUi16(bytes, offset);
        SwfTag tag;
        tag.code = static_cast<int>(header >> 6);
        tag.length = header & 0x3F;
        offset += 2;
        if (tag.length == 0x3F) {
            tag.longHeader = true;
            tag.length = readUi32(bytes, offset);
            offset += 4;
        }
        if (offset + tag.length > bytes.size())
            throw std::runtime_error("tag runs past the end");
        tag.bodyOffset = offset;
        tag.body.assign(bytes.begin() + static_cast<long>(offset),
                        bytes.begin() + static_cast<long>(offset + tag.length));
        offset += tag.length;
        swf.tags.push_back(std::move(tag));
        if (swf.tags.back().code == 0)
            break;
    }
    // Whatever follows the first End tag must be End tags too.
    for (; offset < bytes.size(); offset += 2) {
        if (readUi16(bytes, offset) != 0)
            throw std::runtime_error("bytes after the End tag");
    }
    return swf;
}

} // namespace orvalin::test
