#pragma once
// Repairs single-sample dips and short drop-outs of one raw channel in a
// history of offset-corrected samples.

#include "Filters/Filter.h"

#include <span>
#include <vector>

class SlopeFilter : public Filter {
public:
    // Zero runs strictly shorter than maxGap are interpolated; 0 never repairs gaps.
    SlopeFilter(std::int32_t channel, std::int32_t maxGap) : Filter(channel), maxGap(maxGap) {}

    // `in` ends with the current sample; `repaired` is index-aligned with it
    // and gets the repairs. Returns the current sample unchanged.
    ManikinSample filter(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const;

    const std::int32_t maxGap;

private:
    bool repairDip(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const;
    void repairGap(std::span<const ManikinSample> in, std::vector<ManikinSample>& repaired) const;
};
