// The rules an algorithm keeps before it is stored: what the algorithm
// editor brings into line is exactly what a controller's fetch refuses.

#include "Database/AlgorithmRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Fault = AlgorithmRules::Fault;

TEST(AlgorithmRules, whatTheEditorBringsIntoLineIsWhatAFetchRefuses)
{
    AlgorithmRecord named;
    named.Name = "Guideline";
    EXPECT_FALSE(AlgorithmRules::firstFault(named)) << "the default limits are kept";
    EXPECT_EQ(AlgorithmRules::keptInRange(named), named);

    const struct {
        const char* what;
        std::function<void(AlgorithmRecord&)> change;
        Fault::Kind kind;
        const char* label;
    } cases[] = {
        {"initial ventilations", [](AlgorithmRecord& r) { r.initVent = 21; }, Fault::OUT_OF_RANGE, "Initial ventilations"},
        {"negative initial ventilations", [](AlgorithmRecord& r) { r.initVent = -1; }, Fault::OUT_OF_RANGE,
         "Initial ventilations"},
        {"volume", [](AlgorithmRecord& r) { r.vVolHigh = 5.5; }, Fault::OUT_OF_RANGE, "Ventilation volume"},
        {"no number", [](AlgorithmRecord& r) { r.eccRateLow = std::nan(""); }, Fault::OUT_OF_RANGE, "ECC rate"},
        {"share", [](AlgorithmRecord& r) { r.compRelaxRecc = 101; }, Fault::OUT_OF_RANGE, "Recommended"},
        {"ratio", [](AlgorithmRecord& r) { r.ventCompRatioDoubleVent = 0; }, Fault::OUT_OF_RANGE, "Two-person CPR"},
        {"ventilation rate crossed", [](AlgorithmRecord& r) { r.vRateLow = 60, r.vRateHigh = 6; }, Fault::CROSSED,
         "Ventilation rate"},
        {"ECC rate crossed", [](AlgorithmRecord& r) { r.eccRateLow = 200, r.eccRateHigh = 91; }, Fault::CROSSED,
         "ECC rate"},
        {"shares crossed", [](AlgorithmRecord& r) { r.compRelaxLow = 70; }, Fault::CROSSED, "Comp./Relax. ratio"},
        {"depth crossed", [](AlgorithmRecord& r) { r.compDepthLow = 200, r.compDepthHigh = 41; }, Fault::CROSSED,
         "Compression depth"},
        {"crossed beyond its range", [](AlgorithmRecord& r) { r.compDepthLow = 300; }, Fault::OUT_OF_RANGE,
         "Compression depth"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AlgorithmRecord record = named;
        c.change(record);
        const auto fault = AlgorithmRules::firstFault(record);
        ASSERT_TRUE(fault);
        EXPECT_EQ(fault->kind, c.kind);
        EXPECT_STREQ(fault->label, c.label);
        const AlgorithmRecord kept = AlgorithmRules::keptInRange(record);
        EXPECT_FALSE(AlgorithmRules::firstFault(kept));
        EXPECT_EQ(AlgorithmRules::keptInRange(kept), kept);
    }

    // The volumes may cross.
    AlgorithmRecord volumes = named;
    volumes.vVolLow = 0.8;
    EXPECT_FALSE(AlgorithmRules::firstFault(volumes));
    EXPECT_EQ(AlgorithmRules::keptInRange(volumes).vVolLow, 0.8);
    // A crossed pair reports both limits.
    AlgorithmRecord crossed = named;
    crossed.vRateLow = 60;
    crossed.vRateHigh = 6;
    EXPECT_EQ(AlgorithmRules::firstFault(crossed)->value, 60);
    EXPECT_EQ(AlgorithmRules::firstFault(crossed)->high, 6);
    EXPECT_EQ(AlgorithmRules::keptInRange(crossed).vRateLow, 6);
}

TEST(AlgorithmRules, aNameKeepsWhatLiesBetweenItsBlanksAndControlCharacters)
{
    const std::pair<std::string, std::string> names[] = {
        {" \t\x01Guideline 2010\x7F\r\n ", "Guideline 2010"},
        {"AHA  2010", "AHA  2010"},
        {std::string("\x01\x02\x1F", 3), ""},
        {"   ", ""},
        {"\xC3\x85rhus", "\xC3\x85rhus"},
    };
    for (const auto& [typed, kept] : names) {
        EXPECT_EQ(AlgorithmRules::storedName(typed), kept) << typed;
        AlgorithmRecord record;
        record.Name = typed;
        const auto fault = AlgorithmRules::firstFault(record);
        EXPECT_EQ(fault && fault->kind == Fault::NO_NAME, kept.empty()) << typed;
    }
}

} // namespace
