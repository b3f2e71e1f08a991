// Arbitrary bytes as an AVI resource: a decoded clip has at least one frame,
// every frame has the clip's size and all its pixels, and nothing is read
// outside the bytes.
#include "Rodezir/AviClip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto clip = kova::AviClip::decode(data, size);
    if (!clip)
        return 0;
    if (clip->frames.empty() || clip->frames.size() > kova::AviClip::MAX_FRAMES)
        __builtin_trap();
    for (const kova::DibImage& frame : clip->frames)
        if (frame.width != clip->width || frame.height != clip->height
            || frame.pixels.size() != static_cast<std::size_t>(frame.width) * frame.height)
            __builtin_trap();
    return 0;
}
