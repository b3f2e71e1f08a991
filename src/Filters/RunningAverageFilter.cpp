#include "Filters/RunningAverageFilter.h"

#include "Rodezir/LogStream.h"

#include <algorithm>

namespace {
// The window of raw samples searched for the height of a filtered peak.
constexpr std::size_t RAW_WINDOW = 8;
constexpr std::size_t RAW_LEAD = 5;
constexpr std::size_t MIN_PEAK_HISTORY = 4;
} // namespace

RunningAverageFilter::RunningAverageFilter(std::vector<double> weights, std::int32_t channel, std::int32_t peakThreshold)
    : Filter(channel), weights(std::move(weights)), peakThreshold(peakThreshold)
{
    // Summed as the kernel sum is, truncated after every term.
    for (double weight : this->weights)
        weightTotal_ = static_cast<std::int32_t>(weightTotal_ + weight);
}

ManikinSample RunningAverageFilter::filter(std::span<const ManikinSample> in, std::vector<ManikinSample>& filtered) const
{
    if (in.empty())
        return ManikinSample{};
    ManikinSample result = in.back();
    const std::size_t k = weights.size();
    if (in.size() <= k || weightTotal_ == 0)
        return result;

    std::int32_t value = average(in);
    if (restorePeaks) {
        restorePeak(in, filtered);
        // After silence the kernel's tail of a first small rise is noise.
        if (FilterValue(in[in.size() - k]) == 0 && value < peakThreshold / 5)
            value = 0;
    }
    FilterValue(result) = value;
    return result;
}

std::int32_t RunningAverageFilter::average(std::span<const ManikinSample> in) const
{
    const std::size_t k = weights.size();
    const std::size_t first = in.size() - k;
    std::int32_t sum = 0;
    for (std::size_t j = 0; j < k; ++j)
        sum = static_cast<std::int32_t>(sum + weights[j] * FilterValue(in[first + j]));
    return static_cast<std::int32_t>(static_cast<double>(sum) / weightTotal_ + 0.5);
}

// The newest local maximum of the output whose falling side rose above the
// threshold; never the newest entry.
std::optional<RunningAverageFilter::Peak> RunningAverageFilter::findLocalMax(std::span<const ManikinSample> filtered) const
{
    if (filtered.size() < MIN_PEAK_HISTORY)
        return std::nullopt;
    bool afterPeak = false;
    for (std::size_t j = filtered.size() - 1; j-- > 0;) {
        const std::int32_t here = FilterValue(filtered[j]);
        const std::int32_t next = FilterValue(filtered[j + 1]);
        if (!afterPeak && here <= peakThreshold)
            continue;
        if (here >= next)
            afterPeak = true;
        else if (afterPeak)
            return Peak{j + 1, next};
    }
    return std::nullopt;
}

std::optional<std::size_t> RunningAverageFilter::findRawMax(std::span<const ManikinSample> in, std::size_t indexAtMax) const
{
    const std::size_t begin = indexAtMax > RAW_LEAD ? indexAtMax - RAW_LEAD : 0;
    const std::size_t end = std::min(in.size(), begin + RAW_WINDOW);
    std::optional<std::size_t> best;
    std::int32_t bestValue = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (FilterValue(in[i]) > bestValue) {
            bestValue = FilterValue(in[i]);
            best = i;
        }
    }
    return best;
}

// The average flattens a sharp peak; the three output samples around it are
// lifted to the raw values around the raw peak. Both histories are indexed
// alike although the output lags the input by one sample, as the peak search
// of later samples and the diagnostic dump expect.
void RunningAverageFilter::restorePeak(std::span<const ManikinSample> in, std::vector<ManikinSample>& filtered) const
{
    const std::optional<Peak> peak = findLocalMax(filtered);
    if (!peak)
        return;
    KOVA_ASSERT(peak->value == FilterValue(filtered[peak->index]));
    const std::optional<std::size_t> raw = findRawMax(in, peak->index);
    if (!raw || *raw > peak->index || peak->index - *raw >= weights.size())
        return;
    for (int d = -1; d <= 1; ++d) {
        const long long rawIndex = static_cast<long long>(*raw) + d;
        const long long outIndex = static_cast<long long>(peak->index) + d;
        if (rawIndex < 0 || rawIndex >= static_cast<long long>(in.size()) || outIndex < 0
            || outIndex >= static_cast<long long>(filtered.size()))
            continue;
        const std::int32_t rawValue = FilterValue(in[static_cast<std::size_t>(rawIndex)]);
        std::int32_t& outValue = FilterValue(filtered[static_cast<std::size_t>(outIndex)]);
        if (outValue < rawValue)
            outValue = rawValue;
    }
}
