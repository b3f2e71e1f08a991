#pragma once
// One recorded demonstration performance: four channels in the order
// compression, ventilation, error (status) and ECG. Each channel wraps on its own.

#include "comm/link/CollectedData.h"
#include "Filters/ManikinSample.h"

#include <array>
#include <cstdint>

class CollectedDataSet {
public:
    // The resource ids of the channels of sets 0, 1 and 2, in channel order.
    static constexpr std::array<std::array<int, 4>, 3> RESOURCE_IDS = {{
        {169, 170, 171, 308},
        {177, 174, 173, 309},
        {175, 172, 176, 310},
    }};

    // The recordings were made at 20 samples a second, and are replayed so.
    static constexpr int SAMPLE_RATE = 20;
    // The samples a replay gives in that many milliseconds: whole ones only,
    // so a replay never runs ahead of its time.
    static std::int64_t samplesIn(std::uint32_t milliseconds)
    {
        return static_cast<std::int64_t>(milliseconds) * SAMPLE_RATE / 1000;
    }

    // Loads recorded set 0, 1 or 2 from the program's resources.
    explicit CollectedDataSet(int setIndex);
    CollectedDataSet(CollectedData compression, CollectedData ventilation, CollectedData error,
                     CollectedData ecg);

    const CollectedData& compression() const { return compression_; }
    const CollectedData& ventilation() const { return ventilation_; }
    const CollectedData& error() const { return error_; }
    const CollectedData& ecg() const { return ecg_; }

    // Recorded sample i: the four channels at i, the ECG value being the larger
    // of the ECG and the compression channel (the recordings carry the chest
    // compressions as artefact on the ECG lead).
    ManikinSample sample(std::size_t index) const;

private:
    CollectedData compression_;
    CollectedData ventilation_;
    CollectedData error_;
    CollectedData ecg_;
};
