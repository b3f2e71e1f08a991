#pragma once
// Smooths one raw channel with a weighted kernel over the newest samples,
// lifts peaks that the average flattened back to their raw height in its own
// output history, and forces small values after silence to 0.

#include "Filters/Filter.h"

#include <optional>
#include <span>
#include <vector>

class RunningAverageFilter : public Filter {
public:
    // weights: the kernel, oldest sample first.
    RunningAverageFilter(std::vector<double> weights, std::int32_t channel, std::int32_t peakThreshold);

    // `in` ends with the current sample; `filtered` holds the earlier outputs
    // (not yet the current one) and may get its peaks restored. Returns the
    // current sample with the smoothed value in this filter's channel.
    ManikinSample filter(std::span<const ManikinSample> in, std::vector<ManikinSample>& filtered) const;

    int length() const { return static_cast<int>(weights.size()); }

    const std::vector<double> weights;
    const std::int32_t peakThreshold;
    const bool restorePeaks = true;

private:
    struct Peak {
        std::size_t index;
        std::int32_t value;
    };

    std::int32_t average(std::span<const ManikinSample> in) const;
    std::optional<Peak> findLocalMax(std::span<const ManikinSample> filtered) const;
    std::optional<std::size_t> findRawMax(std::span<const ManikinSample> in, std::size_t indexAtMax) const;
    void restorePeak(std::span<const ManikinSample> in, std::vector<ManikinSample>& filtered) const;

    std::int32_t weightTotal_ = 0;
};
