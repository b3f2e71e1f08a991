#pragma once
// The real clock: a monotonic tick count and a real sleep.

#include "platform/Clock.h"

namespace platform {

class SystemClock final : public Clock {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
};

} // namespace platform
