#pragma once
// Ventilations that follow each other closely.

#include "comm/session/VentilationRecord.h"

#include <cstdint>
#include <vector>

class VentilationGroup {
public:
    VentilationGroup() = default;
    virtual ~VentilationGroup() = default;
    VentilationGroup(const VentilationGroup&) = default;
    VentilationGroup& operator=(const VentilationGroup&) = default;

    void add(const VentilationRecord& record);

    std::vector<VentilationRecord> records;
    std::int32_t firstStart = -1;
    std::int32_t lastEnd = -1;
    std::int32_t firstPeak = -1;
    std::int32_t stomachInflationCount = 0;
};
