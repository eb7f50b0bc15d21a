#include "StageHarness.h"

#include "FuzzCheck.h"

namespace orvalin::fuzz {

StageHarness::StageHarness(std::string outputName, Stage stage)
    : outputName_(std::move(outputName)), stage_(std::move(stage))
{
}

StageResult StageHarness::run(const std::uint8_t* data, std::size_t size)
{
    input_.replaceContents(data, size);
    status_ = {};
    IdlePump pump;
    const StageResult result = stage_(status_, pump, input_.path(), folder_.file(outputName_));

    check(!result.succeeded() || status_.stagePercent == 100, "a stage that succeeds ends at 100 percent");
    const std::vector<std::string> left = folder_.fileNames();
    check(left == (result.succeeded() ? std::vector<std::string>{outputName_} : std::vector<std::string>{}),
          "the output, and nothing else, is left exactly when the stage succeeds");
    return result;
}

} // namespace orvalin::fuzz
