#pragma once

namespace orvalin {

// Ends the process after a fatal message. Tests replace it so that a fatal
// path can be observed without ending the test run.
class ProcessExit {
public:
    virtual ~ProcessExit() = default;
    [[noreturn]] virtual void exitProcess(int status) = 0;
};

class SystemProcessExit final : public ProcessExit {
public:
    [[noreturn]] void exitProcess(int status) override;
};

} // namespace orvalin
