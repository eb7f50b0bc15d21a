#include "SwfReader.h"

namespace orvalin::swfgen::test {

std::uint32_t SwfReader::bits(int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes_.at(offset_);
        value = value << 1 | ((byte >> (7 - bit_)) & 1u);
        if (++bit_ == 8) {
            bit_ = 0;
            ++offset_;
        }
    }
    return value;
}

std::int32_t SwfReader::signedBits(int count)
{
    const std::uint32_t value = bits(count);
    if (count > 0 && count < 32 && (value >> (count - 1)) & 1u)
        return static_cast<std::int32_t>(value | ~((1u << count) - 1));
    return static_cast<std::int32_t>(value);
}

std::uint8_t SwfReader::ui8()
{
    if (bit_ != 0) {
        bit_ = 0;
        ++offset_;
    }
    return bytes_.at(offset_++);
}

std::uint16_t SwfReader::ui16()
{
    const std::uint16_t low = ui8();
    return static_cast<std::uint16_t>(low | ui8() << 8);
}

std::uint32_t SwfReader::ui32()
{
    const std::uint32_t low = ui16();
    return low | static_cast<std::uint32_t>(ui16()) << 16;
}

std::string SwfReader::string()
{
    std::string text;
    for (char c = static_cast<char>(ui8()); c != 0; c = static_cast<char>(ui8()))
        text.push_back(c);
    return text;
}

std::vector<ReadTag> readTags(const std::vector<std::uint8_t>& file)
{
    SwfReader reader(file, 8);
    const int rectBits = static_cast<int>(reader.bits(5));
    reader.bits(4 * rectBits);
    reader.align();
    reader.ui16(); // frame rate
    reader.ui16(); // frame count
    std::vector<ReadTag> tags;
    for (;;) {
        const std::uint16_t header = reader.ui16();
        std::uint32_t length = header & 0x3F;
        if (length == 0x3F)
            length = reader.ui32();
        ReadTag tag{header >> 6, {}};
        for (std::uint32_t i = 0; i < length; ++i)
            tag.body.push_back(reader.ui8());
        tags.push_back(tag);
        if (tag.code == 0)
            return tags;
    }
}

} // namespace orvalin::swfgen::test
