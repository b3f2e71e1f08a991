#include "platform/Clock.h"

#include "platform/SystemClock.h"

namespace platform {

namespace {
Clock* installedClock = nullptr;
} // namespace

Clock& Clock::instance()
{
    static SystemClock systemClock;
    return installedClock ? *installedClock : systemClock;
}

void Clock::setInstance(Clock* clock) { installedClock = clock; }

Clock* Clock::installed() { return installedClock; }

} // namespace platform
