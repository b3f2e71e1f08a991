// Opens arbitrary bytes as a message catalog and looks up every id it holds:
// a catalog named on the command line may be damaged or hostile.

#include "gettext/MoCatalog.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    MoCatalog catalog;
    std::string problem;
    if (!catalog.load(std::vector<unsigned char>(data, data + size), problem))
        return 0;
    std::size_t total = 0;
    const std::uint32_t count = catalog.count() < 512 ? catalog.count() : 512;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::string id(catalog.messageId(i));
        total += catalog.lookup(id).size();
        total += catalog.lookup(id + "x").size();
    }
    total += catalog.lookup("").size() + catalog.lookup("File").size();
    total += catalog.lookup(std::string(reinterpret_cast<const char*>(data), size < 16 ? size : 16)).size();
    return total == static_cast<std::size_t>(-1);
}
