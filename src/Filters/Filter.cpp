#include "Filters/Filter.h"

std::int32_t& Filter::FilterValue(ManikinSample& sample) const
{
    return channel == 1 ? sample.compression : sample.ventilation;
}

std::int32_t Filter::FilterValue(const ManikinSample& sample) const
{
    return channel == 1 ? sample.compression : sample.ventilation;
}
