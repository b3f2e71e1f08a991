#include "Database/AlgorithmRules.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace {

using Record = AlgorithmRecord;

// A limit, the range it is kept in and the label the editor shows it under.
struct Range {
    double Record::*value;
    double least;
    double most;
    const char* label;
};

// A low and a high limit that may not cross.
struct Pair {
    double Record::*low;
    double Record::*high;
    const char* label;
};

// In the order of the editor's fields.
constexpr Range RANGES[] = {
    {&Record::vRateLow, 0, 100, "Ventilation rate"},
    {&Record::vRateHigh, 0, 100, "Ventilation rate"},
    {&Record::vVolLow, 0, 5, "Ventilation volume"},
    {&Record::vVolHigh, 0, 5, "Ventilation volume"},
    {&Record::eccRateLow, 1, 250, "ECC rate"},
    {&Record::eccRateHigh, 1, 250, "ECC rate"},
    {&Record::compRelaxRecc, 0, 100, "Recommended"},
    {&Record::compRelaxLow, 0, 100, "Comp./Relax. ratio"},
    {&Record::compRelaxHigh, 0, 100, "Comp./Relax. ratio"},
    {&Record::compDepthLow, 1, 250, "Compression depth"},
    {&Record::compDepthHigh, 1, 250, "Compression depth"},
    {&Record::ventCompRatioSingleComp, 1, 50, "Single-person CPR"},
    {&Record::ventCompRatioSingleVent, 1, 50, "Single-person CPR"},
    {&Record::ventCompRatioDoubleComp, 1, 50, "Two-person CPR"},
    {&Record::ventCompRatioDoubleVent, 1, 50, "Two-person CPR"},
};

constexpr Pair PAIRS[] = {
    {&Record::vRateLow, &Record::vRateHigh, "Ventilation rate"},
    {&Record::eccRateLow, &Record::eccRateHigh, "ECC rate"},
    {&Record::compRelaxLow, &Record::compRelaxHigh, "Comp./Relax. ratio"},
    {&Record::compDepthLow, &Record::compDepthHigh, "Compression depth"},
};

// Space and the control characters: what a name may not start or end with.
constexpr char BLANKS[] = " \t\n\v\f\r\x01\x02\x03\x04\x05\x06\x07\x08\x0E\x0F\x10\x11\x12\x13\x14\x15\x16\x17"
                          "\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F\x7F";

// Written so that a value that is no number at all is outside every range.
bool inRange(double value, double least, double most) { return value >= least && value <= most; }

} // namespace

AlgorithmRecord AlgorithmRules::keptInRange(AlgorithmRecord record)
{
    record.initVent = std::clamp(record.initVent, LEAST_INITIAL_VENTILATIONS, MOST_INITIAL_VENTILATIONS);
    // A value that is no number at all goes to the bottom of its range.
    for (const Range& range : RANGES) {
        double& value = record.*range.value;
        value = std::isnan(value) ? range.least : std::clamp(value, range.least, range.most);
    }
    for (const Pair& pair : PAIRS)
        record.*pair.low = std::min(record.*pair.low, record.*pair.high);
    return record;
}

std::string AlgorithmRules::storedName(const std::string& typed)
{
    // The terminating zero of BLANKS is no character of the set.
    const std::string_view blanks(BLANKS, sizeof BLANKS - 1);
    const std::size_t first = typed.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return typed.substr(first, typed.find_last_not_of(blanks) - first + 1);
}

std::optional<AlgorithmRules::Fault> AlgorithmRules::firstFault(const AlgorithmRecord& record)
{
    if (!AlgorithmRecord::isValidKey(storedName(record.Name)))
        return Fault{Fault::NO_NAME};
    if (!inRange(record.initVent, LEAST_INITIAL_VENTILATIONS, MOST_INITIAL_VENTILATIONS))
        return Fault{Fault::OUT_OF_RANGE, INITIAL_VENTILATIONS_LABEL, static_cast<double>(record.initVent), 0,
                     LEAST_INITIAL_VENTILATIONS, MOST_INITIAL_VENTILATIONS};
    for (const Range& range : RANGES)
        if (!inRange(record.*range.value, range.least, range.most))
            return Fault{Fault::OUT_OF_RANGE, range.label, record.*range.value, 0, range.least, range.most};
    for (const Pair& pair : PAIRS)
        if (record.*pair.low > record.*pair.high)
            return Fault{Fault::CROSSED, pair.label, record.*pair.low, record.*pair.high};
    return std::nullopt;
}
