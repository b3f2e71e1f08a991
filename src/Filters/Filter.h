#pragma once
// Base of the filters on the raw manikin channels: picks the channel a filter
// works on out of a raw sample.

#include "Filters/ManikinSample.h"

#include <cstdint>

class Filter {
public:
    // Channel 1 is the compression count; every other value the ventilation count.
    explicit Filter(std::int32_t channel) : channel(channel) {}
    virtual ~Filter() = default;

    std::int32_t& FilterValue(ManikinSample& sample) const;
    std::int32_t FilterValue(const ManikinSample& sample) const;

    const std::int32_t channel;
};
