// Row texts of any shape: reading, rewriting and inserting cells never reads
// outside the row, and a cell written reads back as written.

#include "controls/reportctrl/ReportCellCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using kova::ReportCell;
    using kova::ReportCellCodec;
    if (size == 0)
        return 0;
    const int index = data[0] % 8;
    std::string row(reinterpret_cast<const char*>(data + 1), size - 1);
    ReportCell cell;
    const bool readable = ReportCellCodec::readCell(row, index, cell, 1 + data[0]);
    const int count = ReportCellCodec::cellCount(row);
    if (readable != (index < count))
        std::abort();
    ReportCell written;
    written.text = row.substr(0, 40);
    written.colour = data[0];
    if (ReportCellCodec::writeCell(row, index, written)) {
        ReportCell back;
        if (!ReportCellCodec::readCell(row, index, back) || back.text != written.text || back.colour != written.colour)
            std::abort();
    }
    ReportCellCodec::insertCell(row, index);
    if (ReportCellCodec::cellCount(row) != count + 1)
        std::abort();
    return 0;
}
