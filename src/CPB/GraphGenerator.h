#pragma once
// The controller's plot description for one algorithm: a fixed template of
// 39 records (a 16-bit horizontal position and a code) in which the scale
// marks of the compression depth and ventilation volume limits, and the
// digits of their labels, are filled in.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class GraphGenerator {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr std::size_t DATA_SIZE = 117;

    // Depths in millimetres, volumes in litres. Each is held within what the
    // plot can show: 0 to 100 mm, 0 to 10 l; a value that is not a number
    // counts as 0.
    GraphGenerator(float depthLow, float depthHigh, float volumeLow, float volumeHigh);

    // A copy of the plot block.
    Bytes getData() const;

private:
    void setPosition(double value, std::initializer_list<std::size_t> offsets);
    void setDigits(double value, int decimals, std::size_t first, std::size_t second);

    Bytes data;
};
