#include "app/livepanel/GraphScrollRange.h"

#include <algorithm>

GraphScrollRange GraphScrollRange::of(int sampleCount, int leftIndex, int window)
{
    GraphScrollRange range;
    range.page = std::max(window, 1);
    range.lineStep = std::max(1, window / 10);
    const long long rangeMaximum = std::max<long long>(sampleCount - 1LL, leftIndex + (window - 1LL));
    range.maximumPosition = static_cast<int>(std::max<long long>(0, rangeMaximum + 1 - range.page));
    range.position = std::clamp(leftIndex, 0, range.maximumPosition);
    return range;
}
