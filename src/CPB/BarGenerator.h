#pragma once
// The seven bar rows of the controller's debriefing for one algorithm: each
// row's 32-column scale with the limits written into it, and the table that
// turns a measured value into a column of that scale, so the controller
// looks a value up instead of computing anything.

#include "config/AlgorithmRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PropertyModel;

class BarGenerator {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr int ROWS = 7;
    static constexpr int COLUMNS = 32;
    // 0x03, the row's field code and the 32 columns.
    static constexpr std::size_t LINE_SIZE = 34;
    // The seven tables back to back, as the bar data area holds them.
    static constexpr std::size_t BAR_DATA_SIZE = 0x480;

    // The limits of the set-up's first algorithm (number 1) or its second
    // (any other number), as the training records hold them; the default
    // limits under that name when the records are closed or lack it.
    BarGenerator(const PropertyModel& settings, int algorithm);
    // The rows of these limits, without the records.
    explicit BarGenerator(const AlgorithmRecord& algorithm);

    // The row's scale line (34 bytes) and its table (every entry a column
    // 1 to 32). A row outside 0 to 6 throws std::out_of_range.
    const Bytes& getText(int row) const;
    const Bytes& getMap(int row) const;
    // Where the row's table starts in the bar data area; throws as above.
    static std::size_t getMapOffset(int row);
    // The seven tables at their offsets: the BAR_DATA_SIZE bytes of the area.
    Bytes getBarData() const;

    // The limits the rows were built from, under the algorithm's name.
    const AlgorithmRecord& getAlgorithm() const { return algorithm_; }

private:
    void build();
    void addTargetRow(bool shaded, int target, std::uint8_t code, int row);
    void addRangeRow(int low, int high, std::uint8_t code, int row);
    void addRealRangeRow(double low, double high, std::uint8_t code, int row);
    void addRange(const std::string& lowText, const std::string& highText, double start, double end,
                  std::uint8_t code, int row);

    AlgorithmRecord algorithm_;
    std::array<Bytes, ROWS> texts_;
    std::array<Bytes, ROWS> maps_;
};
