#include "app/graphs/GraphScale.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Far enough outside any plot to be clipped, near enough to stay an int.
constexpr double COORDINATE_LIMIT = 1.0e8;

int toCoordinate(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -COORDINATE_LIMIT, COORDINATE_LIMIT));
}

} // namespace

int GraphScale::xOf(std::int64_t index) const
{
    const std::int64_t view = std::max(1, viewIndexes);
    const std::int64_t x = plotLeft + (index - leftIndex) * plotWidth / view;
    return static_cast<int>(std::clamp<std::int64_t>(x, INT_MIN / 2, INT_MAX / 2));
}

int GraphScale::yOf(double value) const
{
    const double scaled = fullScale != 0.0 ? plotHeight * value / fullScale : 0.0;
    const int offset = toCoordinate(scaled);
    return inverted ? plotTop + offset : plotTop + plotHeight - 1 - offset;
}

double GraphScale::valueAt(int y) const
{
    if (plotHeight <= 0)
        return 0.0;
    return inverted ? fullScale * y / plotHeight : fullScale * (plotHeight - y) / plotHeight;
}

int GraphScale::indexAt(int x) const
{
    if (plotWidth <= 0)
        return leftIndex;
    const std::int64_t index = leftIndex + static_cast<std::int64_t>(viewIndexes) * x / plotWidth;
    return static_cast<int>(std::clamp<std::int64_t>(index, 0, INT_MAX));
}
