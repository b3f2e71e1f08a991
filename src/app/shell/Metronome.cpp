#include "app/shell/Metronome.h"

#include <cmath>

std::uint32_t Metronome::interval(double beatsPerMinute)
{
    if (!(beatsPerMinute > 0.0))
        return IDLE_INTERVAL_MS;
    const double interval = std::floor(60000.0 / beatsPerMinute);
    // A rate too fast to give a whole millisecond still beats once a tick at most.
    return interval < 1.0 ? 1u : static_cast<std::uint32_t>(interval);
}

bool Metronome::toggle(std::uint32_t now)
{
    on_ = !on_;
    if (on_)
        lastBeatTick_ = now;
    return on_;
}

bool Metronome::tick(std::uint32_t now, double beatsPerMinute)
{
    if (!on_)
        return false;
    const std::uint32_t step = interval(beatsPerMinute);
    // Differences of the wrapping count stay right across its wrap.
    if (now - lastBeatTick_ <= step)
        return false;
    lastBeatTick_ += step;
    if (now - lastBeatTick_ > step)
        lastBeatTick_ = now;
    return true;
}
