#include "app/livepanel/GraphPrintWindow.h"

#include <algorithm>
#include <climits>

namespace {

int samples(double milliseconds, double rate)
{
    if (!(rate > 0.0))
        return 0;
    const double count = (milliseconds * rate + 500.0) * 0.001;
    return count >= INT_MAX ? INT_MAX : static_cast<int>(count);
}

} // namespace

int GraphPrintWindow::stripMinutes(int minutes) { return std::clamp(minutes, MIN_MINUTES, MAX_MINUTES); }

int GraphPrintWindow::stripLength(int minutes, double rate)
{
    return samples(stripMinutes(minutes) * 60000.0, rate);
}

int GraphPrintWindow::pageCount(std::int64_t elapsedSeconds, int minutes)
{
    const std::int64_t m = stripMinutes(minutes);
    const std::int64_t wholeMinutes = (std::max<std::int64_t>(elapsedSeconds, 0) + 30) / 60;
    return static_cast<int>(std::min<std::int64_t>((wholeMinutes + m / 2) / m, INT_MAX));
}

int GraphPrintWindow::stripsHolding(int sampleCount, int stripLength)
{
    if (sampleCount <= 0 || stripLength <= 0)
        return 0;
    return static_cast<int>((static_cast<std::int64_t>(sampleCount) + stripLength - 1) / stripLength);
}

GraphPrintWindow::Window GraphPrintWindow::page(int page, int stripLength)
{
    const long long left = static_cast<long long>(stripLength) * std::max(page, 0);
    return {static_cast<int>(std::min<long long>(left, INT_MAX)), stripLength};
}

GraphPrintWindow::Window GraphPrintWindow::firstAction(int firstActionSeconds, double rate, int sampleCount,
                                                       int stripLength)
{
    const int start = samples(std::max(firstActionSeconds, 0) * 1000.0, rate);
    const long long end = std::min<long long>(sampleCount, static_cast<long long>(start) + stripLength);
    const long long left = std::max<long long>(0, end - stripLength);
    if (end - left < 1)
        return {0, stripLength};
    return {static_cast<int>(left), static_cast<int>(end - left)};
}
