#include "ui/QtMessagePump.h"

#include <QCoreApplication>

namespace orvalin {

void QtMessagePump::pumpMessages()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kInterval)
        return;
    lastPump_ = now;
    QCoreApplication::processEvents();
}

} // namespace orvalin
