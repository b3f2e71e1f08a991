#include "CPB/CPBIcon.h"

#include <cstddef>

bool CPBIcon::Pixels::isBlack(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    return at < argb.size() && (argb[at] & 0x00FFFFFFu) == 0;
}

namespace {

template <class ByteIndex>
CPBIcon::Bytes sample(const CPBIcon::Pixels& icon, int side, int byteCount, ByteIndex byteIndex)
{
    CPBIcon::Bytes bytes(static_cast<std::size_t>(byteCount), 0);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (icon.isBlack(x, y))
                bytes[static_cast<std::size_t>(byteIndex(x, y))] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    return bytes;
}

} // namespace

CPBIcon::Bytes CPBIcon::encodeLarge(const Pixels& icon)
{
    return sample(icon, LARGE_SIDE, LARGE_BYTES, [](int x, int y) { return (x / 8) * LARGE_SIDE + y; });
}

CPBIcon::Bytes CPBIcon::encodeSmall(const Pixels& icon)
{
    return sample(icon, SMALL_SIDE, SMALL_BYTES, [](int x, int y) { return SMALL_BYTES - 3 - 3 * y + x / 8; });
}
