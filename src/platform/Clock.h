#pragma once
// The one clock and sleeper every wait of the station goes through, so tests
// can replace both and run time-outs in milliseconds.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start, wrapping like a 32-bit tick count.
    virtual std::uint32_t tickCount() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // The clock in force: the system clock unless a test installed another.
    static Clock& instance();
    // Installs a clock (null restores the system clock); the caller keeps ownership.
    static void setInstance(Clock* clock);
    // The clock a test installed, or null while the system clock is in force.
    static Clock* installed();
};

} // namespace platform
