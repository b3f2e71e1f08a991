// Any bytes as an archived collection: decoding must stay inside the bytes and
// never allocate more than they can hold; what it decodes encodes back to a
// prefix-equal form that decodes the same.
#include "Rodezir/ArchiveCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

template <class T>
void check(const std::uint8_t* data, std::size_t size)
{
    std::vector<T> values;
    if (!archive::decode(data, size, values))
        return;
    const std::vector<unsigned char> bytes = archive::encode(values);
    std::vector<T> again;
    if (!archive::decode(bytes.data(), bytes.size(), again) || again != values)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    check<std::uint8_t>(data, size);
    check<std::uint16_t>(data, size);
    check<std::uint32_t>(data, size);
    check<std::string>(data, size);
    return 0;
}
