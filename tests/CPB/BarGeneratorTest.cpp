#include "CPB/BarGenerator.h"

#include "CPB/Pointer.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>

namespace {

using Bytes = BarGenerator::Bytes;

constexpr std::uint8_t LIGHT = 0xB0;
constexpr std::uint8_t MEDIUM = 0xB1;

Bytes line(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
Bytes repeat(std::size_t count, std::uint8_t byte) { return Bytes(count, byte); }
Bytes text(const std::string& s) { return Bytes(s.begin(), s.end()); }

std::string logText()
{
    LogStream::destroy();
    return kovatest::readFile("errors.txt");
}

// One row of the generator for limits changed from the defaults, with the
// expected table: single entries, and ranges [from, to] of one value.
struct TableCase {
    const char* name;
    std::function<void(AlgorithmRecord&)> limits;
    int row;
    std::map<int, int> entries;
    std::vector<std::tuple<int, int, int>> ranges;
};

void PrintTo(const TableCase& c, std::ostream* out) { *out << c.name; }

class BarTables : public ::testing::TestWithParam<TableCase> {};

TEST_P(BarTables, placeEachValueOnItsScaleColumn)
{
    const TableCase& c = GetParam();
    AlgorithmRecord algorithm;
    c.limits(algorithm);
    const Bytes map = BarGenerator(algorithm).getMap(c.row);
    for (const auto& [index, value] : c.entries)
        EXPECT_EQ(map.at(static_cast<std::size_t>(index)), value) << "entry " << index;
    for (const auto& [from, to, value] : c.ranges)
        for (int i = from; i <= to; ++i)
            EXPECT_EQ(map.at(static_cast<std::size_t>(i)), value) << "entry " << i;
}

std::map<int, int> twoColumnsPerUnit(int first, int count)
{
    std::map<int, int> entries;
    for (int i = 0; i < count; ++i)
        entries[i] = first + 2 * i;
    return entries;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BarTables,
    ::testing::Values(
        TableCase{"depth40to50", [](AlgorithmRecord& a) { a.compDepthLow = 40; a.compDepthHigh = 50; }, 5,
                  {{39, 6}, {40, 9}, {45, 17}, {50, 24}, {51, 27}}, {{0, 35, 1}, {55, 127, 32}}},
        TableCase{"eccRate90to110", [](AlgorithmRecord& a) { a.eccRateLow = 90; a.eccRateHigh = 110; }, 4,
                  {{89, 6}, {90, 9}, {100, 17}, {110, 24}, {111, 28}}, {{120, 255, 32}}},
        TableCase{"volume04to06", [](AlgorithmRecord& a) { a.vVolLow = 0.4; a.vVolHigh = 0.6; }, 2,
                  {{40, 9}, {50, 17}, {60, 24}, {61, 28}}, {}},
        TableCase{"initialVentilations2", [](AlgorithmRecord& a) { a.initVent = 2; }, 0,
                  {{0, 1}, {1, 5}, {2, 9}}, {{8, 127, 32}}},
        TableCase{"initialVentilations0", [](AlgorithmRecord& a) { a.initVent = 0; }, 0,
                  twoColumnsPerUnit(1, 16), {{16, 127, 32}}},
        TableCase{"stomachInflation", [](AlgorithmRecord&) {}, 3, twoColumnsPerUnit(9, 12), {{12, 127, 32}}},
        TableCase{"wrongHandPosition", [](AlgorithmRecord&) {}, 6, twoColumnsPerUnit(9, 12), {{12, 127, 32}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BarGenerator, scaleLinesWriteTheLimitsIntoTheirColumns)
{
    AlgorithmRecord algorithm;
    algorithm.compDepthLow = 40;
    algorithm.compDepthHigh = 50;
    algorithm.eccRateLow = 90;
    algorithm.eccRateHigh = 110;
    algorithm.vVolLow = 0.4;
    algorithm.vVolHigh = 0.6;
    algorithm.initVent = 2;
    const BarGenerator bars(algorithm);

    EXPECT_EQ(bars.getText(5), line({{0x03, 81}, repeat(6, LIGHT), text("40"), repeat(16, MEDIUM), text("50"),
                                     repeat(6, LIGHT)}));
    EXPECT_EQ(bars.getText(4), line({{0x03, 78}, repeat(6, LIGHT), text("90"), repeat(16, MEDIUM), text("110"),
                                     repeat(5, LIGHT)}));
    EXPECT_EQ(bars.getText(2), line({{0x03, 73}, repeat(5, LIGHT), text("0.4"), repeat(16, MEDIUM), text("0.6"),
                                     repeat(5, LIGHT)}));
    EXPECT_EQ(bars.getText(0), line({{0x03, 68}, repeat(7, LIGHT), text("2"), repeat(24, LIGHT)}));
    for (const int row : {3, 6})
        EXPECT_EQ(bars.getText(row), line({{0x03, static_cast<std::uint8_t>(row == 3 ? 76 : 84)}, repeat(7, ' '),
                                           text("0"), repeat(24, LIGHT)}));
    EXPECT_EQ(bars.getText(1)[1], 70);
}

TEST(BarGenerator, rowsOutsideTheSevenAreRefused)
{
    const BarGenerator bars{AlgorithmRecord()};
    for (const int row : {-1, 7, 1000}) {
        EXPECT_THROW(bars.getText(row), std::out_of_range);
        EXPECT_THROW(bars.getMap(row), std::out_of_range);
    }
}

TEST(BarGenerator, barDataHoldsTheSevenTablesAtTheirOffsets)
{
    const BarGenerator bars{AlgorithmRecord()};
    const Bytes data = bars.getBarData();
    ASSERT_EQ(data.size(), static_cast<std::size_t>(Pointer::size(Pointer::BARS_1)));
    const std::size_t offsets[] = {0x000, 0x080, 0x100, 0x200, 0x280, 0x380, 0x400};
    const std::size_t sizes[] = {128, 128, 256, 128, 256, 128, 128};
    for (int row = 0; row < BarGenerator::ROWS; ++row) {
        EXPECT_EQ(BarGenerator::getMapOffset(row), offsets[row]);
        ASSERT_EQ(bars.getMap(row).size(), sizes[row]);
        EXPECT_TRUE(std::equal(bars.getMap(row).begin(), bars.getMap(row).end(),
                               data.begin() + static_cast<std::ptrdiff_t>(offsets[row])))
            << "row " << row;
    }
}

// Limits no guideline has, but an edited or damaged record can hold: each
// still gives full lines and tables the controller can use.
struct OddLimits {
    const char* name;
    std::function<void(AlgorithmRecord&)> limits;
    int row;
    std::string lowText;
    std::string highText;
};

void PrintTo(const OddLimits& c, std::ostream* out) { *out << c.name; }

class OddBarLimits : public ::testing::TestWithParam<OddLimits> {};

TEST_P(OddBarLimits, giveFullLinesAndTablesOfColumns)
{
    const OddLimits& c = GetParam();
    AlgorithmRecord algorithm;
    c.limits(algorithm);
    const BarGenerator bars(algorithm);
    for (int row = 0; row < BarGenerator::ROWS; ++row) {
        ASSERT_EQ(bars.getText(row).size(), BarGenerator::LINE_SIZE) << "row " << row;
        for (const std::uint8_t entry : bars.getMap(row))
            ASSERT_TRUE(entry >= 1 && entry <= 32) << "row " << row << " entry " << int(entry);
    }
    const Bytes& scale = bars.getText(c.row);
    if (c.row == 0) {
        EXPECT_EQ(std::string(scale.begin() + 2, scale.begin() + 10), c.lowText);
        return;
    }
    const auto low = std::string(scale.begin() + 2, scale.begin() + 10);
    const auto high = std::string(scale.begin() + 26, scale.end());
    EXPECT_EQ(low.substr(low.find_first_not_of('\xB0')), c.lowText);
    EXPECT_EQ(high.substr(0, high.find('\xB0')), c.highText);
}

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Limits, OddBarLimits,
    ::testing::Values(
        OddLimits{"equalDepths", [](AlgorithmRecord& a) { a.compDepthLow = a.compDepthHigh = 50; }, 5, "50", "50"},
        OddLimits{"equalVolumes", [](AlgorithmRecord& a) { a.vVolLow = a.vVolHigh = 0.5; }, 2, "0.5", "0.5"},
        OddLimits{"invertedRates", [](AlgorithmRecord& a) { a.eccRateLow = 120; a.eccRateHigh = 100; }, 4, "120",
                  "100"},
        OddLimits{"volumesNotANumber", [](AlgorithmRecord& a) { a.vVolLow = NaN; a.vVolHigh = NaN; }, 2, "0.0",
                  "0.0"},
        OddLimits{"volumeNotANumber", [](AlgorithmRecord& a) { a.vVolHigh = NaN; }, 2, "0.4", "0.0"},
        OddLimits{"depthNotANumber", [](AlgorithmRecord& a) { a.compDepthLow = NaN; }, 5, "0", "50"},
        OddLimits{"volumesInfinite", [](AlgorithmRecord& a) { a.vVolLow = -INF; a.vVolHigh = INF; }, 2, "-inf",
                  "inf"},
        OddLimits{"volumeInfinite", [](AlgorithmRecord& a) { a.vVolHigh = INF; }, 2, "0.4", "inf"},
        OddLimits{"ratesInfinite", [](AlgorithmRecord& a) { a.eccRateLow = -INF; a.eccRateHigh = INF; }, 4,
                  "-2147483", "21474836"},
        OddLimits{"hugeVolumes", [](AlgorithmRecord& a) { a.vVolLow = -1e300; a.vVolHigh = 1e300; }, 2, "-1000000",
                  "10000000"},
        OddLimits{"longVolumeText", [](AlgorithmRecord& a) { a.vVolHigh = 123456789.0; }, 2, "0.4", "12345678"},
        OddLimits{"longTarget", [](AlgorithmRecord& a) { a.initVent = 123456789; }, 0, "12345678", ""},
        OddLimits{"negativeTarget", [](AlgorithmRecord& a) { a.initVent = -2147483647 - 1; }, 0, "-2147483", ""},
        OddLimits{"tinyVolumeRange", [](AlgorithmRecord& a) { a.vVolLow = 0.5; a.vVolHigh = 0.5 + 1e-15; }, 2,
                  "0.5", "0.5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BarGenerator, equalLimitsPlaceBelowAtAndAboveTheTarget)
{
    AlgorithmRecord algorithm;
    algorithm.compDepthLow = 50;
    algorithm.compDepthHigh = 50;
    const Bytes map = BarGenerator(algorithm).getMap(5);
    EXPECT_EQ(map[49], 6);  // before the low digits on columns 6 and 7
    EXPECT_EQ(map[50], 17); // the middle of the zone
    EXPECT_EQ(map[51], 27); // after the high digits on columns 24 and 25
    EXPECT_NE(logText().find(": start != end"), std::string::npos);
}

} // namespace
