#pragma once
// Running time in milliseconds from the station's tick counter, with pause and
// resume: the timer behind link idleness, the measured sample rate and calibration.

#include <cstdint>

class Stopwatch {
public:
    // Starts running at once.
    Stopwatch();

    // Elapsed milliseconds, not counting the time spent paused.
    std::uint32_t elapsed() const;
    bool isRunning() const { return running_; }

    // Starts again from zero; a paused watch stays paused.
    void restart();
    void pause();
    void resume();

private:
    std::uint32_t start_ = 0;
    std::uint32_t frozen_ = 0;
    std::uint32_t pausedTotal_ = 0;
    bool running_ = true;
};
