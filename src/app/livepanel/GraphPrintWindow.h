#pragma once
// Which stretch of a session the printed graphs show: strips of the
// configured "Graph max print time", how many of them a session fills, and
// the strip around the first action that the debriefing report prints.
// Window-free; the live graph panel hands the windows to its time axis.

#include <cstdint>

class GraphPrintWindow {
public:
    struct Window {
        int left = 0;
        int count = 0;
        friend bool operator==(const Window&, const Window&) = default;
    };

    // The limits of "Graph max print time", in minutes.
    static constexpr int MIN_MINUTES = 1;
    static constexpr int MAX_MINUTES = 240;
    // The configured minutes within those limits: a settings file from an
    // older or damaged station may hold anything.
    static int stripMinutes(int minutes);

    // Samples in one strip of `minutes` minutes at `rate` samples a second.
    static int stripLength(int minutes, double rate);
    // Strips a session of that many seconds fills: its length rounded to
    // whole minutes, then to whole strips (a session shorter than half a
    // strip has none). Minutes outside 1 to 240 count as the nearer limit.
    static int pageCount(std::int64_t elapsedSeconds, int minutes);
    // The most strips a session's samples fill at a strip's length: a
    // session's time never asks for strips beyond its samples, whatever its
    // rate made of the time.
    static int stripsHolding(int sampleCount, int stripLength);
    // Strip `page` (from 0).
    static Window page(int page, int stripLength);
    // The strip that ends a strip's length after the first action (or at the
    // last sample, whichever comes first), reaching back as far as a strip
    // does. `firstActionSeconds` below 0 (no action) counts as 0; a session
    // without samples gives the first strip.
    static Window firstAction(int firstActionSeconds, double rate, int sampleCount, int stripLength);
};
