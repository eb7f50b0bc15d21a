#pragma once

#include <string>

namespace orvalin {

// The parameters file of a program started from programFolder: the one beside
// it while it can be saved there, as a program in a folder of its own keeps
// its settings. An installed program's folder belongs to the system, so each
// user then keeps a file in userFolder, first made as a copy of the shipped
// one. Both folders end in the separator.
std::string chooseParametersPath(const std::string& programFolder, const std::string& userFolder);

} // namespace orvalin
