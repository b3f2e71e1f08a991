// Any bytes as a hive file: reading must neither crash nor read outside the
// text, and whatever it keeps must survive writing and reading back.
#include "platform/RegistryHive.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    platform::RegistryHive hive;
    hive.fromText(std::string_view(reinterpret_cast<const char*>(data), size));
    platform::RegistryHive again;
    if (!again.fromText(hive.toText()) || !(again == hive))
        std::abort();
    return 0;
}
