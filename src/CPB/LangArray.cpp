#include "CPB/LangArray.h"

#include "Rodezir/LogStream.h"

#include <array>

namespace {

// Trailing blanks and the colon of "Comments:" belong to the message ids.
const std::array<const char*, LangArray::SIZE>& texts()
{
    static const std::array<const char*, LangArray::SIZE> table{
        "Training Results",
        "Date",
        "Ventilation",
        "Compression",
        "Algorithm",
        "Initial ventilations",
        "Ventilation rate",
        "Ventilation volume",
        "Stomach inflation",
        "ECC Rate",
        "Compression depth",
        "Wrong hand position",
        "Total",
        "Comments:",
        "Approved",
        "Yes",
        "No",
        "Instructor: ",
        "/min",
        "L",
        "mm",
        "%",
        "Metronome: ",
    };
    return table;
}

} // namespace

std::string LangArray::get(int index)
{
    if (index < 0 || index >= SIZE) {
        KOVA_ASSERT(false);
        return {};
    }
    return texts()[static_cast<std::size_t>(index)];
}
