#include "cli/RunReports.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace orvalin {

void RunReporter::send(RunReport report)
{
    // A parent that has gone can no longer be told; the run goes on.
    while (::write(pipe_.get(), &report, sizeof report) < 0 && errno == EINTR) {
    }
}

void RunReporter::show(int percent, int stageIndex)
{
    send({RunReport::Progress, static_cast<std::uint8_t>(percent), static_cast<std::uint8_t>(stageIndex)});
}

std::vector<RunReport> takeReports(std::string& bytes)
{
    std::vector<RunReport> reports;
    std::size_t used = 0;
    for (; bytes.size() - used >= sizeof(RunReport); used += sizeof(RunReport)) {
        RunReport report{};
        std::memcpy(&report, bytes.data() + used, sizeof report);
        reports.push_back(report);
    }
    bytes.erase(0, used);
    return reports;
}

} // namespace orvalin
