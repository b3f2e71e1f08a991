#pragma once
// Installs a clock for the life of the object and restores the previous one.

#include "platform/Clock.h"

namespace platform {

class ScopedClock {
public:
    explicit ScopedClock(Clock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    Clock* previous_;
};

} // namespace platform
