#pragma once

#include "platform/MessagePump.h"

#include <chrono>

namespace orvalin {

// Processes the waiting events of the user-interface thread without waiting.
// The stages call it in every loop, far more often than anyone can see, so
// it only does its work once per interval of a steady clock: the run then
// spends well under one percent of its time here.
class QtMessagePump final : public MessagePump {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kInterval{5};

    // The clock is a parameter so that the interval can be checked without
    // waiting for real time to pass.
    explicit QtMessagePump(Clock::time_point (*now)() = Clock::now) : now_(now) {}

    void pumpMessages() override;

private:
    Clock::time_point (*now_)();
    Clock::time_point lastPump_{};
};

} // namespace orvalin
