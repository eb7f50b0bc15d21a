#include "swf/Mp3FrameReader.h"

#include "audio/Id3v2Header.h"
#include "platform/Files.h"

namespace orvalin {
namespace {

constexpr std::uint64_t kId3SizeLimit = 32768;

// The size of an ID3v2 tag at the start of the file, header included, or 0.
// Tags declaring more than 32 KiB are not skipped: their body is searched for
// frames like any other bytes.
std::uint64_t leadingTagLength(InputFile& input)
{
    std::uint8_t head[kId3v2HeaderLength];
    if (input.read(head, sizeof head) != sizeof head || head[0] != 'I' || head[1] != 'D' ||
        head[2] != '3')
        return 0;
    const std::uint64_t size = id3v2Size(&head[kId3v2SizeOffset]);
    return (size > kId3SizeLimit ? 0 : size) + kId3v2HeaderLength;
}

} // namespace

Mp3FrameReader::Mp3FrameReader(InputFile& input) : input_(input)
{
    input_.seek(leadingTagLength(input_));
}

std::uint64_t Mp3FrameReader::position() const
{
    return input_.position();
}

Mp3FrameReader::Step Mp3FrameReader::next()
{
    const std::uint64_t start = input_.position();
    const auto sync = input_.readByte();
    if (!sync)
        return Step::End;
    if (*sync != 0xFF)
        return Step::SkippedByte;

    std::uint8_t header[3];
    for (auto& byte : header) {
        const auto read = input_.readByte();
        if (!read)
            return Step::End;
        byte = *read;
    }
    info_ = parseMpegHeader(header[0], header[1], header[2]);
    length_ = static_cast<std::size_t>(info_.lengthWithPadding());
    input_.seek(start);
    return input_.read(frame_.data(), length_) == length_ ? Step::Frame : Step::End;
}

} // namespace orvalin
