#include "platform/ProcessExit.h"

#include <cstdlib>

namespace orvalin {

void SystemProcessExit::exitProcess(int status)
{
    std::exit(status);
}

} // namespace orvalin
