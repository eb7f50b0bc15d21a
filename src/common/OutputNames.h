#pragma once

#include "common/LeadingInteger.h"

#include <string>
#include <string_view>

namespace orvalin {

// Output numbers run from 0 to this, the most the Output tab's five-digit box
// holds, and then start again at 0.
inline constexpr int kMaxOutputNumber = 99999;

// The output number a text stands for, as the Output tab reads its box: only
// the last five characters count, read as a decimal number (0 when they hold
// none). The sign is dropped, as no file name takes a negative number.
constexpr int outputNumberFromText(std::string_view text)
{
    const std::size_t keep = 5;
    const int number = parseLeadingInteger(text.size() > keep ? text.substr(text.size() - keep) : text);
    return number < 0 ? -number : number;
}

// The output number a stored text stands for: read from its leading digits,
// as every stored number is, then brought into range by its last five
// digits, the sign dropped.
constexpr int storedOutputNumber(std::string_view text)
{
    const long long number = parseLeadingInteger(text);
    return static_cast<int>((number < 0 ? -number : number) % (kMaxOutputNumber + 1));
}

constexpr int nextOutputNumberAfter(int number)
{
    return number >= kMaxOutputNumber ? 0 : number + 1;
}

// The names of one run's files, all "orvaln" and the run's output number
// followed by what the file is.
class OutputNames {
public:
    explicit OutputNames(int outputNumber) : base_("orvaln" + std::to_string(outputNumber)) {}

    std::string page() const { return base_ + ".htm"; }
    std::string stream() const { return base_ + "s.swf"; }
    std::string controller(const std::string& instructionLetter) const
    {
        return base_ + instructionLetter + ".swf";
    }
    std::string decodedTemporary() const { return base_ + ".tmp2"; }
    std::string encodedTemporary() const { return base_ + ".tmp3"; }

private:
    std::string base_;
};

} // namespace orvalin
