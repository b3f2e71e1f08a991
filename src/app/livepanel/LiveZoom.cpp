#include "app/livepanel/LiveZoom.h"

#include "app/surveillance/ZoomWindows.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

int LiveZoom::windowMilliseconds(int samples, double rate)
{
    if (!(rate > 0.0))
        return 0;
    const double ms = (samples + 0.5) / rate * 1000.0 + 0.5;
    return ms >= INT_MAX ? INT_MAX : static_cast<int>(ms);
}

LiveZoom::Entry LiveZoom::entryFor(int samples, double rate, std::span<const int> lengthsMs)
{
    const long long ms = windowMilliseconds(samples, rate);
    Entry entry;
    for (std::size_t i = 0; i < lengthsMs.size(); ++i)
        if (std::llabs(lengthsMs[i] - ms) < 1000)
            entry = {static_cast<int>(i), true};
    if (entry.selected)
        return entry;
    long long nearest = LLONG_MAX;
    for (std::size_t i = 0; i < lengthsMs.size(); ++i) {
        const long long distance = std::llabs(lengthsMs[i] - ms);
        if (distance < nearest) {
            nearest = distance;
            entry.index = static_cast<int>(i);
        }
    }
    return entry;
}

int LiveZoom::stepTo(int position, int entryCount)
{
    if (entryCount < 1)
        return 0;
    return std::clamp(position, 0, entryCount - 1);
}

LiveZoom::View LiveZoom::viewFor(int milliseconds, double rate, bool running, int sampleCount)
{
    const int count = rate > 0.0 ? ZoomWindows::windowIndexes(milliseconds, rate) : 0;
    if (running)
        return {true, 0, count};
    return {false, std::max(0, sampleCount - count), count};
}
