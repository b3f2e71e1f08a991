#pragma once
// One raw sample of the manikin: the counts of one frame or record before
// offsets and conversion, as the reader queues them and the filters repair them.

#include <cstdint>

struct ManikinSample {
    std::int32_t compression = 0; // raw compression count
    std::int32_t ventilation = 0; // raw ventilation count
    std::int32_t error = 0;       // status code of the manikin
    std::int32_t ecg = 0;         // ECG signal value

    bool operator==(const ManikinSample&) const = default;
};
