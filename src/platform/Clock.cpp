#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
Clock* installed = nullptr;

Clock* current()
{
    static SystemClock systemClock;
    return installed ? installed : &systemClock;
}
} // namespace

Clock& Clock::instance() { return *current(); }

void Clock::setInstance(Clock* clock) { installed = clock; }

std::uint32_t SystemClock::tickCount()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<std::uint32_t>(ms);
}

void SystemClock::sleep(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ScopedClock::ScopedClock(Clock& clock) : previous_(installed) { installed = &clock; }

ScopedClock::~ScopedClock() { installed = previous_; }

} // namespace platform
