#include "comm/link/CollectedDataSet.h"

#include "Rodezir/LogStream.h"

#include <algorithm>
#include <utility>

namespace {

const std::array<int, 4>& resourceIdsOf(int setIndex)
{
    const bool known = setIndex >= 0 && setIndex < static_cast<int>(CollectedDataSet::RESOURCE_IDS.size());
    KOVA_ASSERT(known);
    return CollectedDataSet::RESOURCE_IDS[known ? static_cast<std::size_t>(setIndex) : 0];
}

} // namespace

CollectedDataSet::CollectedDataSet(int setIndex)
    : compression_(resourceIdsOf(setIndex)[0])
    , ventilation_(resourceIdsOf(setIndex)[1])
    , error_(resourceIdsOf(setIndex)[2])
    , ecg_(resourceIdsOf(setIndex)[3])
{
}

CollectedDataSet::CollectedDataSet(CollectedData compression, CollectedData ventilation, CollectedData error,
                                   CollectedData ecg)
    : compression_(std::move(compression))
    , ventilation_(std::move(ventilation))
    , error_(std::move(error))
    , ecg_(std::move(ecg))
{
}

ManikinSample CollectedDataSet::sample(std::size_t index) const
{
    ManikinSample sample;
    sample.compression = compression_.get(index);
    sample.ventilation = ventilation_.get(index);
    sample.error = error_.get(index);
    sample.ecg = std::max(ecg_.get(index), compression_.get(index));
    return sample;
}
