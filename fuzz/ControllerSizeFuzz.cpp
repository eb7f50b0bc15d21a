// The size a controller's name gives, for arbitrary names.
#include "support/FuzzCheck.h"
#include "support/ReferenceAtoi.h"

#include "web/ControllerSize.h"

#include <string_view>

using namespace orvalin;

namespace {

std::string_view piece(std::string_view text, std::size_t offset, std::size_t length)
{
    return offset < text.size() ? text.substr(offset, length) : std::string_view{};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view name(reinterpret_cast<const char*>(data), size);
    const ControllerSize got = parseControllerSize(name);

    // No more digits than the fields hold, so the values stay small.
    fuzz::check(got.leadNumber >= -9 && got.leadNumber <= 99, "the lead number has two characters");
    fuzz::check(got.width >= -99 && got.width <= 999, "the width has three characters");
    fuzz::check(got.height >= -99 && got.height <= 999, "the height has three characters");

    const std::string_view tail = name.size() > 8 ? name.substr(name.size() - 8) : name;
    fuzz::check(got.leadNumber == fuzz::referenceAtoi(piece(tail, 0, 2)), "the lead number reads as C reads it");
    fuzz::check(got.width == fuzz::referenceAtoi(piece(tail, 2, 3)), "the width reads as C reads it");
    fuzz::check(got.height == fuzz::referenceAtoi(piece(tail, 5, 3)), "the height reads as C reads it");
    return 0;
}
