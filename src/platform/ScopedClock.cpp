#include "platform/ScopedClock.h"

namespace platform {

// The previous clock may be none (the system clock), which is restored as none.
ScopedClock::ScopedClock(Clock& clock) : previous_(Clock::installed()) { Clock::setInstance(&clock); }

ScopedClock::~ScopedClock() { Clock::setInstance(previous_); }

} // namespace platform
