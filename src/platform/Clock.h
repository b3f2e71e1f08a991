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
};

// The real clock: a monotonic tick count and a real sleep.
class SystemClock final : public Clock {
public:
    std::uint32_t tickCount() override;
    void sleep(std::uint32_t milliseconds) override;
};

// A clock that only moves when told to; sleeping advances it at once.
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

// Installs a clock for the life of the object and restores the previous one.
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
