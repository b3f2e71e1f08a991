#include "CPB/GraphGenerator.h"

#include "Rodezir/LogStream.h"

#include <array>
#include <cmath>

namespace {

// Records of (position, code): the depth marks count down from 157 at 0 mm,
// the volume marks up from 190 at 0 l.
constexpr std::array<std::uint8_t, GraphGenerator::DATA_SIZE> TEMPLATE{
    0x10, 0x00, 0x05, 0x2D, 0x00, 0x04, 0x9D, 0x00, 0x0C, 0xA6, 0x00, 0x11, 0xA6, 0x00, 0x0A, 0xB0, 0x00, 0x0A,
    0xBE, 0x00, 0x0C, 0x20, 0x01, 0x00, 0x20, 0x01, 0x0A, 0x4B, 0x01, 0x00, 0x4B, 0x01, 0x0A, 0x69, 0x01, 0x0F,
    0x10, 0x00, 0x00, 0x2D, 0x00, 0x00, 0x9D, 0x00, 0x0C, 0x9D, 0x00, 0x0D, 0xA6, 0x00, 0x12, 0xB0, 0x00, 0x0D,
    0xBE, 0x00, 0x0C, 0x20, 0x01, 0x07, 0x4B, 0x01, 0x00, 0x69, 0x01, 0x0F, 0x10, 0x00, 0x0B, 0x2D, 0x00, 0x0B,
    0x9D, 0x00, 0x0C, 0xBE, 0x00, 0x0C, 0x20, 0x01, 0x0B, 0x4B, 0x01, 0x0B, 0x69, 0x01, 0x0F, 0x10, 0x00, 0x0B,
    0x2D, 0x00, 0x0B, 0x9D, 0x00, 0x0C, 0x9D, 0x00, 0x0D, 0xB0, 0x00, 0x0D, 0xBE, 0x00, 0x0C, 0x20, 0x01, 0x0B,
    0x4B, 0x01, 0x0B, 0x69, 0x01, 0x0F, 0x69, 0x01, 0x21};

constexpr float MAX_DEPTH = 100.0f;
constexpr float MAX_VOLUME = 10.0f;

float limited(float value, float maximum)
{
    if (std::isnan(value) || value < 0)
        return 0;
    return value > maximum ? maximum : value;
}

// x + 0.5 truncated toward zero, never std::round.
double rounded(double x) { return std::trunc(x + 0.5); }

} // namespace

GraphGenerator::GraphGenerator(float depthLow, float depthHigh, float volumeLow, float volumeHigh)
    : data(TEMPLATE.begin(), TEMPLATE.end())
{
    depthLow = limited(depthLow, MAX_DEPTH);
    depthHigh = limited(depthHigh, MAX_DEPTH);
    volumeLow = limited(volumeLow, MAX_VOLUME);
    volumeHigh = limited(volumeHigh, MAX_VOLUME);

    setPosition(rounded(157 - 2.82 * depthHigh), {0, 36, 66, 87});
    setPosition(rounded(157 - 2.82 * depthLow), {3, 39, 69, 90});
    setPosition(rounded(141 * volumeHigh + 190), {27, 30, 60, 81, 108});
    setPosition(rounded(141 * volumeLow + 190), {21, 24, 57, 78, 105});

    // The tens in single precision, as the labels were always cut.
    const auto depthDigits = [this](float depth, std::size_t tensAt, std::size_t unitsAt) {
        const float tens = std::trunc(depth * 0.1f);
        data.at(tensAt) = static_cast<std::uint8_t>(tens);
        data.at(unitsAt) = static_cast<std::uint8_t>(rounded(depth - 10.0 * tens));
    };
    depthDigits(depthHigh, 2, 38);
    depthDigits(depthLow, 5, 41);

    setDigits(volumeHigh, 1, 29, 62);
    setDigits(volumeLow, 1, 23, 59);
}

GraphGenerator::Bytes GraphGenerator::getData() const
{
    KOVA_ASSERT(data.size() > 0);
    return data;
}

// The low byte, then the value divided by 256 toward zero: a position left of
// the scale's origin keeps the form the controller has always been sent.
void GraphGenerator::setPosition(double value, std::initializer_list<std::size_t> offsets)
{
    const int position = static_cast<int>(value);
    for (const std::size_t offset : offsets) {
        data.at(offset) = static_cast<std::uint8_t>(position % 256);
        data.at(offset + 1) = static_cast<std::uint8_t>(position / 256);
    }
}

void GraphGenerator::setDigits(double value, int decimals, std::size_t first, std::size_t second)
{
    KOVA_ASSERT(decimals == 0 || decimals == 1);
    const double unit = decimals == 0 ? 10 : 1;
    const double leading = std::trunc(value / unit);
    data.at(first) = static_cast<std::uint8_t>(leading);
    data.at(second) = static_cast<std::uint8_t>(rounded((value - leading * unit) * (9 * decimals + 1)));
}
