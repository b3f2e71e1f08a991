// Arbitrary bytes as a resource header: names and numbers are read without
// ever reading past the text.
#include "Rodezir/ResourceHeader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto names = kova::parseResourceHeader(std::string(reinterpret_cast<const char*>(data), size));
    for (const auto& [id, name] : names)
        if (name.empty())
            __builtin_trap();
    return 0;
}
