#pragma once
// The text of one report row: every cell as "(image,check,colour,length)"
// followed by its text and the cell separator. Cells are found by their stored
// lengths, so a text holding the separator reads back whole and leaves the
// cells after it alone.

#include <cstddef>
#include <limits>
#include <string>

namespace kova {

struct ReportCell {
    int image = -1;
    int check = -1;
    int colour = -1;
    std::string text;
};

class ReportCellCodec {
public:
    // The separator and the empty-cell unit are shared by every report
    // control of the process; rows stored before a change no longer read back.
    static char separator();
    static void setSeparator(char separator);
    static const std::string& emptyCell();
    static std::string emptyRow(int cells);

    // Reads cell `index`, keeping at most `limit` - 1 bytes of its text (cut
    // at a whole character). False for a missing or unreadable cell.
    static bool readCell(const std::string& row, int index, ReportCell& cell,
                         std::size_t limit = std::numeric_limits<std::size_t>::max());
    // Puts the cell in place of cell `index`; false when the row has no such cell.
    static bool writeCell(std::string& row, int index, const ReportCell& cell);
    // Inserts an empty cell before cell `index`, or appends one past the end.
    static void insertCell(std::string& row, int index);
    // The number of readable cells at the start of the row.
    static int cellCount(const std::string& row);

    static std::string encode(const ReportCell& cell);

private:
    // Finds where cell `index` begins and ends (one past its separator).
    static bool locate(const std::string& row, int index, std::size_t& begin, std::size_t& end,
                       ReportCell* cell);
    static bool parseCell(const std::string& row, std::size_t at, std::size_t& end, ReportCell* cell);
};

} // namespace kova
