#pragma once

namespace orvalin {

// Lets the user interface breathe while a conversion runs on its thread:
// dispatches whatever is waiting and returns at once, never waits.
class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void pumpMessages() = 0;
};

} // namespace orvalin
