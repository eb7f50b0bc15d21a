#pragma once

#include <string>

namespace orvalin {

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
