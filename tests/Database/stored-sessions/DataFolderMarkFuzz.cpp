// Arbitrary bytes as the mark of a data folder: what is taken for a mark
// is one the station could have written, byte for byte.

#include "Database/stored-sessions/DataFolderMark.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto mark = DataFolderMark::parse(bytes);
    if (mark && mark->text() != bytes)
        std::abort();
    return 0;
}
