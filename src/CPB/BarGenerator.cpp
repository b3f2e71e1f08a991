#include "CPB/BarGenerator.h"

#include "Database/AlgorithmTable.h"
#include "Database/Database.h"
#include "Rodezir/LogStream.h"
#include "config/PropertyModel.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <stdexcept>

namespace {

struct RowShape {
    std::uint8_t code;
    int entries;
    // Table entries per unit of the row's quantity.
    int divisor;
    std::size_t offset;
};

constexpr std::array<RowShape, BarGenerator::ROWS> ROW_SHAPES{{
    {68, 128, 1, 0x000},   // initial ventilations
    {70, 128, 1, 0x080},   // ventilation rate
    {73, 256, 100, 0x100}, // ventilation volume, in hundredths of a litre
    {76, 128, 1, 0x200},   // stomach inflation
    {78, 256, 1, 0x280},   // ECC rate
    {81, 128, 1, 0x380},   // compression depth
    {84, 128, 1, 0x400},   // wrong hand position
}};

constexpr std::uint8_t FIELD = 0x03;
constexpr std::uint8_t LIGHT_SHADE = 0xB0;
constexpr std::uint8_t MEDIUM_SHADE = 0xB1;
constexpr std::uint8_t BLANK = 0x20;
// Columns 0-7 and 24-31 hold a limit each; the target zone lies between.
constexpr std::size_t LIMIT_WIDTH = 8;
constexpr int ZONE_START = 8;
constexpr int ZONE_END = 24;
constexpr int ZONE_MIDDLE = 16;

const RowShape& shape(int row)
{
    if (row < 0 || row >= BarGenerator::ROWS)
        throw std::out_of_range("invalid vector<T> subscript");
    return ROW_SHAPES[static_cast<std::size_t>(row)];
}

// x + 0.5 truncated toward zero, never std::round: the controller's tables
// were always made this way, and the two differ for negative halves.
double rounded(double x) { return std::trunc(x + 0.5); }

// A position as a column, truncated toward zero and kept one column either
// side of the scale, so that no double (huge, infinite or not a number) is
// converted beyond what an int holds.
int column(double position)
{
    if (std::isnan(position) || position <= -1.0)
        return -1;
    if (position >= BarGenerator::COLUMNS)
        return BarGenerator::COLUMNS;
    return static_cast<int>(position);
}

std::uint8_t entry(int p) { return static_cast<std::uint8_t>(std::clamp(p, 0, BarGenerator::COLUMNS - 1) + 1); }

// The record's doubles truncated toward zero; what no int can hold is held
// at the nearest int (not a number as 0).
int wholeLimit(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

// A limit never takes more than its 8 columns, so every line keeps its length.
std::string limitText(std::string text)
{
    if (text.size() > LIMIT_WIDTH)
        text.resize(LIMIT_WIDTH);
    return text;
}

// "%.1f" without the locale's decimal point.
std::string oneDecimal(double value)
{
    std::array<char, 512> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 1);
    if (error != std::errc())
        return "?";
    return std::string(buffer.data(), end);
}

void append(BarGenerator::Bytes& line, std::size_t count, std::uint8_t byte) { line.insert(line.end(), count, byte); }
void append(BarGenerator::Bytes& line, const std::string& text) { line.insert(line.end(), text.begin(), text.end()); }

} // namespace

BarGenerator::BarGenerator(const PropertyModel& settings, int algorithm)
{
    const std::string name = algorithm == 1 ? settings.getAlgorithm1() : settings.getAlgorithm2();
    AlgorithmTable table(theDatabase);
    table.open("");
    algorithm_ = table.getByName(name);
    table.close();
    build();
}

BarGenerator::BarGenerator(const AlgorithmRecord& algorithm) : algorithm_(algorithm) { build(); }

void BarGenerator::build()
{
    const AlgorithmRecord& a = algorithm_;
    addTargetRow(true, a.initVent, ROW_SHAPES[0].code, 0);
    addRangeRow(wholeLimit(a.vRateLow), wholeLimit(a.vRateHigh), ROW_SHAPES[1].code, 1);
    addRealRangeRow(a.vVolLow, a.vVolHigh, ROW_SHAPES[2].code, 2);
    addTargetRow(false, 0, ROW_SHAPES[3].code, 3);
    addRangeRow(wholeLimit(a.eccRateLow), wholeLimit(a.eccRateHigh), ROW_SHAPES[4].code, 4);
    addRangeRow(wholeLimit(a.compDepthLow), wholeLimit(a.compDepthHigh), ROW_SHAPES[5].code, 5);
    addTargetRow(false, 0, ROW_SHAPES[6].code, 6);
}

const BarGenerator::Bytes& BarGenerator::getText(int row) const
{
    shape(row);
    return texts_[static_cast<std::size_t>(row)];
}

const BarGenerator::Bytes& BarGenerator::getMap(int row) const
{
    shape(row);
    return maps_[static_cast<std::size_t>(row)];
}

std::size_t BarGenerator::getMapOffset(int row) { return shape(row).offset; }

BarGenerator::Bytes BarGenerator::getBarData() const
{
    Bytes data(BAR_DATA_SIZE, 0);
    for (int row = 0; row < ROWS; ++row) {
        const Bytes& map = maps_[static_cast<std::size_t>(row)];
        std::copy(map.begin(), map.end(), data.begin() + static_cast<std::ptrdiff_t>(getMapOffset(row)));
    }
    return data;
}

void BarGenerator::addTargetRow(bool shaded, int target, std::uint8_t code, int row)
{
    const RowShape& rowShape = shape(row);
    const std::string digits = limitText(std::to_string(target));
    const int length = static_cast<int>(digits.size());

    Bytes& line = texts_[static_cast<std::size_t>(row)];
    line = {FIELD, code};
    append(line, LIMIT_WIDTH - digits.size(), shaded ? LIGHT_SHADE : BLANK);
    append(line, digits);
    append(line, COLUMNS - LIMIT_WIDTH, LIGHT_SHADE);

    // Without a target each unit takes two columns from column 8 on.
    const double divisor = rowShape.divisor;
    const double f = target != 0 ? 8.0 / target / divisor : 2.0 / divisor;
    Bytes& map = maps_[static_cast<std::size_t>(row)];
    map.assign(static_cast<std::size_t>(rowShape.entries), 0);
    for (int i = 0; i < rowShape.entries; ++i) {
        const double q = rounded(i * f);
        int p = shaded ? column(q) : column(std::trunc(8.0 - target * f + q));
        // A value never lands on the target's own digits.
        if (p >= ZONE_START - length && p < ZONE_START)
            p = ZONE_START - 1 - length;
        map[static_cast<std::size_t>(i)] = entry(p);
    }
}

void BarGenerator::addRangeRow(int low, int high, std::uint8_t code, int row)
{
    addRange(limitText(std::to_string(low)), limitText(std::to_string(high)), low, high, code, row);
}

void BarGenerator::addRealRangeRow(double low, double high, std::uint8_t code, int row)
{
    // A limit that is not a number says nothing; it is taken as 0.
    if (std::isnan(low))
        low = 0;
    if (std::isnan(high))
        high = 0;
    addRange(limitText(oneDecimal(low)), limitText(oneDecimal(high)), low, high, code, row);
}

void BarGenerator::addRange(const std::string& lowText, const std::string& highText, double start, double end,
                            std::uint8_t code, int row)
{
    const RowShape& rowShape = shape(row);
    const int lowLength = static_cast<int>(lowText.size());
    const int highLength = static_cast<int>(highText.size());

    Bytes& line = texts_[static_cast<std::size_t>(row)];
    line = {FIELD, code};
    append(line, LIMIT_WIDTH - lowText.size(), LIGHT_SHADE);
    append(line, lowText);
    append(line, ZONE_END - ZONE_START, MEDIUM_SHADE);
    append(line, highText);
    append(line, LIMIT_WIDTH - highText.size(), LIGHT_SHADE);

    KOVA_ASSERT(start != end);
    const double divisor = rowShape.divisor;
    const double low = start * divisor;
    const double high = end * divisor;
    // The zone from low to high covers columns 8 to 24; z is the value at column 0.
    const double f = 16.0 / (end - start) / divisor;
    const double z = low - 8.0 / f;
    // Equal or infinite limits leave no scale to place values on: a value
    // below the low limit stands just before its digits, one above the high
    // limit just after them, and anything else in the middle of the zone.
    const bool scaled = std::isfinite(f) && f != 0 && std::isfinite(z);
    if (!scaled && start != end)
        LogStream::instance() << "Bar row " << row << ": the limits " << lowText << " and " << highText
                              << " leave no scale\n";

    Bytes& map = maps_[static_cast<std::size_t>(row)];
    map.assign(static_cast<std::size_t>(rowShape.entries), 0);
    for (int i = 0; i < rowShape.entries; ++i) {
        int p;
        if (!scaled) {
            p = i < low - 0.5 ? ZONE_START - 1 - lowLength : i > high + 0.5 ? ZONE_END + highLength : ZONE_MIDDLE;
        } else {
            p = column(rounded((i - z) * f));
            if (p >= ZONE_START - lowLength && p < ZONE_START)
                p = i > low + 0.5 ? ZONE_START : ZONE_START - 1 - lowLength;
            if (p >= ZONE_END && p < ZONE_END + highLength)
                p = i > high + 0.5 ? ZONE_END + highLength : ZONE_END - 1;
        }
        map[static_cast<std::size_t>(i)] = entry(p);
    }
}
