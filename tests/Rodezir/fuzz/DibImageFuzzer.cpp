// Arbitrary bytes as a bitmap resource: a decoded bitmap always holds exactly
// width x height pixels, and nothing is read outside the bytes.
#include "Rodezir/DibImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto image = kova::DibImage::decode(data, size);
    if (image && image->pixels.size() != static_cast<std::size_t>(image->width) * image->height)
        __builtin_trap();
    return 0;
}
