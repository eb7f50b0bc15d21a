#include "ui/QtMessagePump.h"

#include <QCoreApplication>

namespace orvalin {

void QtMessagePump::pumpMessages()
{
    const auto now = now_();
    if (now - lastPump_ < kInterval)
        return;
    lastPump_ = now;
    QCoreApplication::processEvents();
}

} // namespace orvalin
