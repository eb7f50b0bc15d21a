#include "swf/FileTags.h"

#include "platform/Files.h"
#include "swf/SwfBytes.h"

namespace orvalin::swf {
namespace {

constexpr std::uint64_t kLengthFieldSize = 4;

} // namespace

void writeTag(OutputFile& output, TagCode code, const std::vector<std::uint8_t>& body)
{
    SwfBytes tag;
    tag.tag(code, body);
    output.write(tag.data().data(), tag.size());
}

std::uint64_t beginLongTag(OutputFile& output, TagCode code)
{
    output.writeUi16(recordHeader(code, kLongTagLength));
    const std::uint64_t lengthOffset = output.length();
    output.writeUi32(0);
    return lengthOffset;
}

void endLongTag(OutputFile& output, std::uint64_t lengthOffset)
{
    output.writeUi32At(lengthOffset,
                       static_cast<std::uint32_t>(output.length() - lengthOffset - kLengthFieldSize));
}

} // namespace orvalin::swf
