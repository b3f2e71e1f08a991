#pragma once
// Hand-made icon strips: a 24-bit bitmap file, white but for the given
// black pixels, stored as the station's icon strips are.

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace cpbtest {

inline std::vector<std::uint8_t> stripBitmap(int width, int height, const std::set<std::pair<int, int>>& black)
{
    std::vector<std::uint8_t> bytes;
    const auto u16 = [&](std::uint32_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const auto rowSize = static_cast<std::uint32_t>((width * 3 + 3) & ~3);
    const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(height);
    bytes.push_back('B');
    bytes.push_back('M');
    u32(14 + 40 + pixelBytes);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(static_cast<std::uint32_t>(width));
    u32(static_cast<std::uint32_t>(height)); // bottom row first
    u16(1);
    u16(24);
    u32(0);
    u32(pixelBytes);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x)
            bytes.insert(bytes.end(), 3, black.count({x, y}) ? 0x00 : 0xFF);
        bytes.insert(bytes.end(), rowSize - static_cast<std::uint32_t>(width * 3), 0);
    }
    return bytes;
}

} // namespace cpbtest
