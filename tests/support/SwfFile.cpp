#include "SwfFile.h"

#include <stdexcept>

namespace orvalin::test {

std::uint32_t SwfReader::bits(int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 1 | ((bytes_.at(offset_) >> (7 - bit_)) & 1u);
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

std::uint32_t SwfReader::littleEndian(int count)
{
    align();
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value |= static_cast<std::uint32_t>(bytes_.at(offset_++)) << (8 * i);
    return value;
}

std::string SwfReader::string()
{
    std::string text;
    for (char c = static_cast<char>(ui8()); c != 0; c = static_cast<char>(ui8()))
        text.push_back(c);
    return text;
}

std::vector<std::uint8_t> SwfReader::take(std::size_t count)
{
    align();
    if (offset_ > bytes_.size() || count > bytes_.size() - offset_)
        throw std::out_of_range("runs past the end");
    offset_ += count;
    return {bytes_.begin() + static_cast<long>(offset_ - count), bytes_.begin() + static_cast<long>(offset_)};
}

std::vector<const SwfTag*> SwfFile::tagsWithCode(swf::TagCode code) const
{
    std::vector<const SwfTag*> found;
    for (const auto& tag : tags)
        if (tag.code == code)
            found.push_back(&tag);
    return found;
}

SwfFile parseSwf(const std::vector<std::uint8_t>& bytes)
{
    SwfFile swf;
    swf.bytes = bytes;
    SwfReader in(bytes);
    const auto signature = in.take(3);
    swf.signature.assign(signature.begin(), signature.end());
    swf.version = in.ui8();
    swf.declaredLength = in.ui32();
    const int rectBits = static_cast<int>(in.bits(5));
    for (int i = 0; i < 4; ++i)
        swf.frame.push_back(in.signedBits(rectBits));
    swf.frameRate = in.ui16() / 256.0;
    swf.frameRect.assign(bytes.begin() + 8, bytes.begin() + static_cast<long>(in.offset()) - 2);
    swf.frameCount = in.ui16();
    do {
        const std::uint16_t header = in.ui16();
        SwfTag tag{static_cast<swf::TagCode>(header >> 6), header & 0x3Fu, (header & 0x3F) == 0x3F, {}};
        if (tag.longHeader)
            tag.length = in.ui32();
        tag.body = in.take(tag.length);
        swf.tags.push_back(std::move(tag));
    } while (swf.tags.back().code != swf::TagCode::End);
    while (!in.atEnd())
        if (in.ui16() != 0)
            throw std::runtime_error("bytes after the End tag");
    return swf;
}

} // namespace orvalin::test
