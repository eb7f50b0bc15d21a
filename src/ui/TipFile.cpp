#include "ui/TipFile.h"

#include <algorithm>
#include <fstream>
#include <limits>

namespace orvalin {

TipChoice selectTip(const std::string& tipsPath, int request)
{
    std::ifstream file(tipsPath, std::ios::binary);
    if (!file)
        return {"", 1};

    TipChoice choice{"", request};
    std::string first;
    int count = 0;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        ++count;
        if (count == 1)
            first = line;
        if (request == 0 || request == count)
            choice = {line, count};
    }
    if (choice.number > count)
        choice = {first, 1};
    return choice;
}

int stepTipRequest(int tipNumber, int step)
{
    const long long request = static_cast<long long>(tipNumber) + step;
    return static_cast<int>(std::clamp<long long>(request, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

} // namespace orvalin
