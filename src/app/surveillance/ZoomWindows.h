#pragma once
// The visible time windows a zoom list offers, shared by the live graph panel
// and the surveillance view: eleven lengths from five seconds to an hour,
// their texts, and the number of samples a window spans at a sample rate.
// Window-free; ZoomCombo fills a combo box and its up-down from it.

#include <array>
#include <string>

class ZoomWindows {
public:
    // The lengths in milliseconds, in list order.
    static constexpr std::array<int, 11> LENGTHS_MS{5000,   10000,  20000,   40000,   60000,  120000,
                                                   300000, 600000, 1200000, 2400000, 3600000};
    static constexpr int DEFAULT_MS = 20000;
    static constexpr int COUNT = static_cast<int>(LENGTHS_MS.size());

    // "5 sec." below a minute, "2 min." from a minute on, the units translated.
    static std::wstring text(int milliseconds);
    // The index of a length in the list; -1 when it is not one of them.
    static int indexOf(int milliseconds);
    // The samples a window of that length spans at `rate` samples a second:
    // (ms x rate + 500) x 0.001, truncated. A rate of 0 is a fault, logged.
    static int windowIndexes(int milliseconds, double rate);
};
