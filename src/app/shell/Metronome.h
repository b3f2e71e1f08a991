#pragma once
// The metronome's timing: switched on by the toolbar, it beats at the
// configured rate on the main frame's 20 ms ticks. Each beat falls one
// interval after the last one was due, not after it was heard, so a tick
// that comes late does not slow the beat down; a beat more than one
// interval late starts the count afresh.

#include <cstdint>

class Metronome {
public:
    // The interval when the rate is 0 or below.
    static constexpr std::uint32_t IDLE_INTERVAL_MS = 10000;

    // Milliseconds between beats at `beatsPerMinute`, cut to whole milliseconds.
    static std::uint32_t interval(double beatsPerMinute);

    // Switches the metronome; switching it on beats at once (the caller
    // sounds it) and the count starts from `now`. Answers whether to sound.
    bool toggle(std::uint32_t now);
    bool isOn() const { return on_; }

    // One tick at `now` (a wrapping millisecond count): whether a beat is due.
    bool tick(std::uint32_t now, double beatsPerMinute);

private:
    bool on_ = false;
    std::uint32_t lastBeatTick_ = 0;
};
