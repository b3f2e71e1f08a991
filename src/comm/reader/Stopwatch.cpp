#include "comm/reader/Stopwatch.h"

#include "platform/Clock.h"

namespace {

std::uint32_t now()
{
    return platform::Clock::instance().tickCount();
}

} // namespace

Stopwatch::Stopwatch()
    : start_(now())
{
}

std::uint32_t Stopwatch::elapsed() const
{
    // Unsigned arithmetic keeps the difference right across a tick-count wrap.
    const std::uint32_t gross = running_ ? now() - start_ : frozen_;
    return gross - pausedTotal_;
}

void Stopwatch::restart()
{
    start_ = now();
    pausedTotal_ = 0;
    frozen_ = 0;
}

void Stopwatch::pause()
{
    if (!running_)
        return;
    frozen_ = now() - start_;
    running_ = false;
}

void Stopwatch::resume()
{
    if (running_)
        return;
    // The time spent paused is everything since the frozen moment.
    pausedTotal_ += (now() - start_) - frozen_;
    running_ = true;
}
