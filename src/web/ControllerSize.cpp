#include "web/ControllerSize.h"

#include "common/LeadingInteger.h"

namespace orvalin {
namespace {

std::string_view piece(std::string_view text, std::size_t offset, std::size_t length)
{
    return offset < text.size() ? text.substr(offset, length) : std::string_view{};
}

} // namespace

ControllerSize parseControllerSize(std::string_view name)
{
    const std::string_view tail = name.size() > 8 ? name.substr(name.size() - 8) : name;
    return {parseLeadingInteger(piece(tail, 0, 2)), parseLeadingInteger(piece(tail, 2, 3)),
            parseLeadingInteger(piece(tail, 5, 3))};
}

} // namespace orvalin
