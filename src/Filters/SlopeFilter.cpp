#include "Filters/SlopeFilter.h"

#include "Rodezir/LogStream.h"

namespace {
constexpr std::size_t MIN_HISTORY = 5;
}

ManikinSample SlopeFilter::filter(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const
{
    if (in.empty())
        return ManikinSample{};
    KOVA_ASSERT(repaired.size() == in.size());
    if (in.size() >= MIN_HISTORY && repaired.size() == in.size() && !repairDip(in, repaired))
        repairGap(in, repaired);
    return in.back();
}

// A sample that dropped below both neighbours while the signal rose, or while
// it fell (but not the trough between a fall and a rise), is a glitch of the
// sensor: it becomes the mean of its neighbours.
bool SlopeFilter::repairDip(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const
{
    const std::size_t n = in.size();
    const double x1 = FilterValue(in[n - 1]);
    const double x2 = FilterValue(in[n - 2]);
    const double x3 = FilterValue(in[n - 3]);
    const double x4 = FilterValue(in[n - 4]);
    const bool dipDuringRise = x3 >= x4 && x2 < x3 && x1 > x3;
    const bool dipDuringFall = x2 < x1 && x1 < x3;
    if (!dipDuringRise && !dipDuringFall)
        return false;
    FilterValue(repaired[n - 2]) = static_cast<std::int32_t>((x1 + x3) / 2);
    return true;
}

// A short run of zeros between two positive samples is a lost reading, not a
// rest: the zeros are bridged by a straight line.
void SlopeFilter::repairGap(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const
{
    const std::size_t n = in.size();
    const std::int32_t newest = FilterValue(in[n - 1]);
    if (newest <= 0 || FilterValue(in[n - 2]) != 0)
        return;
    const long long limit = static_cast<long long>(maxGap) + 1;
    long long gap = 0;
    std::size_t j = n - 1; // one past the sample under inspection
    while (j > 0 && FilterValue(in[j - 1]) == 0 && gap < limit) {
        --j;
        ++gap;
    }
    const bool bounded = j > 0 && FilterValue(in[j - 1]) != 0;
    if (!bounded || gap < 1 || gap >= maxGap)
        return;
    const double before = FilterValue(in[j - 1]);
    const double rise = newest - before;
    for (long long k = 1; k <= gap; ++k)
        FilterValue(repaired[j - 1 + static_cast<std::size_t>(k)]) =
            static_cast<std::int32_t>(before + k * rise / static_cast<double>(gap + 1));
}
