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
    static constexpr std::chrono::milliseconds kInterval{5};

    void pumpMessages() override;

private:
    std::chrono::steady_clock::time_point lastPump_{};
};

} // namespace orvalin
