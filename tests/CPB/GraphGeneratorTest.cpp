#include "CPB/GraphGenerator.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Bytes = GraphGenerator::Bytes;

int position(const Bytes& data, std::size_t offset)
{
    return data.at(offset) | (data.at(offset + 1) << 8);
}

TEST(GraphGenerator, fillsTheTemplateWithTheLimitsMarksAndDigits)
{
    const Bytes expected{
        0x10, 0x00, 0x05, 0x2C, 0x00, 0x04, 0x9D, 0x00, 0x0C, 0xA6, 0x00, 0x11, 0xA6, 0x00, 0x0A, 0xB0, 0x00, 0x0A,
        0xBE, 0x00, 0x0C, 0xF6, 0x00, 0x00, 0xF6, 0x00, 0x0A, 0x13, 0x01, 0x00, 0x13, 0x01, 0x0A, 0x69, 0x01, 0x0F,
        0x10, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x9D, 0x00, 0x0C, 0x9D, 0x00, 0x0D, 0xA6, 0x00, 0x12, 0xB0, 0x00, 0x0D,
        0xBE, 0x00, 0x0C, 0xF6, 0x00, 0x04, 0x13, 0x01, 0x06, 0x69, 0x01, 0x0F, 0x10, 0x00, 0x0B, 0x2C, 0x00, 0x0B,
        0x9D, 0x00, 0x0C, 0xBE, 0x00, 0x0C, 0xF6, 0x00, 0x0B, 0x13, 0x01, 0x0B, 0x69, 0x01, 0x0F, 0x10, 0x00, 0x0B,
        0x2C, 0x00, 0x0B, 0x9D, 0x00, 0x0C, 0x9D, 0x00, 0x0D, 0xB0, 0x00, 0x0D, 0xBE, 0x00, 0x0C, 0xF6, 0x00, 0x0B,
        0x13, 0x01, 0x0B, 0x69, 0x01, 0x0F, 0x69, 0x01, 0x21};
    EXPECT_EQ(GraphGenerator(40, 50, 0.4f, 0.6f).getData(), expected);
}

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float INF = std::numeric_limits<float>::infinity();

// Inputs and what they give: the low and high byte of the depth high mark,
// its tens and units, the volume high mark and its litres and tenths.
struct PlotCase {
    const char* name;
    float depthHigh;
    float volumeHigh;
    std::uint8_t depthLowByte;
    std::uint8_t depthHighByte;
    int tens;
    int units;
    int volumeMark;
    int litres;
    int tenths;
};

void PrintTo(const PlotCase& c, std::ostream* out) { *out << c.name; }

class PlotLimits : public ::testing::TestWithParam<PlotCase> {};

TEST_P(PlotLimits, areHeldWithinThePlot)
{
    const PlotCase& c = GetParam();
    const Bytes data = GraphGenerator(40, c.depthHigh, 0.4f, c.volumeHigh).getData();
    ASSERT_EQ(data.size(), GraphGenerator::DATA_SIZE);
    for (const std::size_t at : {0, 36, 66, 87}) {
        EXPECT_EQ(data[at], c.depthLowByte) << at;
        EXPECT_EQ(data[at + 1], c.depthHighByte) << at;
    }
    EXPECT_EQ(data[2], c.tens);
    EXPECT_EQ(data[38], c.units);
    for (const std::size_t at : {27, 30, 60, 81, 108})
        EXPECT_EQ(position(data, at), c.volumeMark) << at;
    EXPECT_EQ(data[29], c.litres);
    EXPECT_EQ(data[62], c.tenths);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PlotLimits,
    ::testing::Values(
        // A mark left of the origin keeps its low byte and a high byte of 0.
        PlotCase{"depth60", 60, 0.6f, 0xF5, 0x00, 6, 0, 275, 0, 6},
        PlotCase{"depth120TakenAs100", 120, 0.6f, 0x84, 0x00, 10, 0, 275, 0, 6},
        PlotCase{"volume096", 50, 0.96f, 0x10, 0x00, 5, 0, 325, 0, 10},
        PlotCase{"negative", -5, -0.3f, 157, 0x00, 0, 0, 190, 0, 0},
        PlotCase{"notANumber", NaN, NaN, 157, 0x00, 0, 0, 190, 0, 0},
        PlotCase{"infinite", INF, INF, 0x84, 0x00, 10, 0, 1600, 10, 0},
        PlotCase{"minusInfinite", -INF, -INF, 157, 0x00, 0, 0, 190, 0, 0},
        PlotCase{"volume12TakenAs10", 50, 12, 0x10, 0x00, 5, 0, 1600, 10, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GraphGenerator, lowLimitsFillTheirOwnFields)
{
    const Bytes data = GraphGenerator(-1, 50, NaN, 0.6f).getData();
    for (const std::size_t at : {3, 39, 69, 90})
        EXPECT_EQ(position(data, at), 157) << at;
    EXPECT_EQ(data[5], 0);
    EXPECT_EQ(data[41], 0);
    for (const std::size_t at : {21, 24, 57, 78, 105})
        EXPECT_EQ(position(data, at), 190) << at;
    EXPECT_EQ(data[23], 0);
    EXPECT_EQ(data[59], 0);
}

} // namespace
