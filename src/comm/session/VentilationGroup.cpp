#include "comm/session/VentilationGroup.h"

#include <algorithm>

void VentilationGroup::add(const VentilationRecord& record)
{
    records.push_back(record);
    if (records.size() == 1) {
        firstStart = record.indexStart;
        firstPeak = record.indexPeak;
        lastEnd = record.indexEnd;
    } else {
        firstStart = std::min(firstStart, record.indexStart);
        firstPeak = std::min(firstPeak, record.indexPeak);
        lastEnd = std::max(lastEnd, record.indexEnd);
    }
    if (record.stomachInflation == 1)
        ++stomachInflationCount;
}
