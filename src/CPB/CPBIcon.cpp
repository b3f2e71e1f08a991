#include "CPB/CPBIcon.h"

#include <cstddef>
#include <utility>

bool CPBIcon::Pixels::isBlack(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    return at < argb.size() && (argb[at] & 0x00FFFFFFu) == 0;
}

namespace {

// ByteAndBit gives the byte index and the bit mask of pixel (x, y).
template <class ByteAndBit>
CPBIcon::Bytes sample(const CPBIcon::Pixels& icon, int side, int byteCount, ByteAndBit byteAndBit)
{
    CPBIcon::Bytes bytes(static_cast<std::size_t>(byteCount), 0);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (icon.isBlack(x, y)) {
                const auto [index, mask] = byteAndBit(x, y);
                bytes[static_cast<std::size_t>(index)] |= static_cast<std::uint8_t>(mask);
            }
        }
    }
    return bytes;
}

// Rows of pixels across bytes: the leftmost pixel of a byte in its high bit.
template <class ByteIndex>
auto across(ByteIndex byteIndex)
{
    return [byteIndex](int x, int y) { return std::pair{byteIndex(x, y), 0x80 >> (x % 8)}; };
}

} // namespace

CPBIcon::Bytes CPBIcon::encodeLarge(const Pixels& icon)
{
    return sample(icon, LARGE_SIDE, LARGE_BYTES, across([](int x, int y) { return (x / 8) * LARGE_SIDE + y; }));
}

CPBIcon::Bytes CPBIcon::encodeSmall(const Pixels& icon)
{
    return sample(icon, SMALL_SIDE, SMALL_BYTES, across([](int x, int y) { return SMALL_BYTES - 3 - 3 * y + x / 8; }));
}

CPBIcon::Bytes CPBIcon::encodeBitImage(const Pixels& icon)
{
    return sample(icon, SMALL_SIDE, SMALL_BYTES,
                  [](int x, int y) { return std::pair{3 * x + y / 8, 0x80 >> (y % 8)}; });
}
