#pragma once

#include "platform/DocumentOpener.h"
#include "platform/MessageBoxes.h"
#include "platform/MessagePump.h"
#include "platform/ProcessExit.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace orvalin::test {

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Records every message box and answers questions from a script (No when the
// script has run out), so no test ever waits for a person.
class RecordingMessages final : public MessageBoxes {
public:
    MessageAnswer show(std::string_view text, MessageIcon icon, MessageButtons buttons) override
    {
        shown.push_back({std::string(text), icon, buttons});
        if (buttons == MessageButtons::Ok)
            return MessageAnswer::Ok;
        if (answers.empty())
            return MessageAnswer::No;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::vector<ShownMessage> shown;
    std::deque<MessageAnswer> answers;
};

// Counts pumps and runs an optional action on each, standing in for what the
// user does while a run is going on.
class ScriptedPump final : public MessagePump {
public:
    void pumpMessages() override
    {
        ++count;
        if (onPump)
            onPump(count);
    }

    long count = 0;
    std::function<void(long)> onPump;
};

// Throws instead of ending the process, so that fatal paths can be tested.
struct ProcessExited {
    int status;
};
class ThrowingProcessExit final : public ProcessExit {
public:
    [[noreturn]] void exitProcess(int status) override { throw ProcessExited{status}; }
};

class RecordingOpener final : public DocumentOpener {
public:
    bool openDocument(const std::string& path) override
    {
        opened.push_back(path);
        return succeed;
    }
    bool openAddress(const std::string& address) override { return openDocument(address); }

    std::vector<std::string> opened;
    bool succeed = true;
};

} // namespace orvalin::test
