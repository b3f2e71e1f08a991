#pragma once
// A clock for tests that only moves when told to; sleeping advances it at
// once and is counted.

#include "platform/Clock.h"

#include <cstdint>

namespace platform {

class ManualClock final : public Clock {
public:
    std::uint32_t tickCount() override { return now_; }
    void sleep(std::uint32_t milliseconds) override
    {
        now_ += milliseconds;
        sleptTotal_ += milliseconds;
        ++sleeps_;
    }
    void advance(std::uint32_t milliseconds) { now_ += milliseconds; }
    std::uint64_t sleptTotal() const { return sleptTotal_; }
    int sleeps() const { return sleeps_; }

private:
    std::uint32_t now_ = 1000;
    std::uint64_t sleptTotal_ = 0;
    int sleeps_ = 0;
};

} // namespace platform
