#pragma once
// A device-independent bitmap as bitmap resources hold it (a bitmap info
// header, its colour table and the pixel rows, optionally behind a bitmap
// file header) decoded to 32-bit pixels. Uncompressed 1, 4, 8, 16, 24 and
// 32 bits per pixel are read; anything else is refused.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kova {

struct DibImage {
    int width = 0;
    int height = 0;
    // 0xAARRGGBB with alpha 0xFF, top row first.
    std::vector<std::uint32_t> pixels;

    std::uint32_t pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

    // Nothing for bytes that are not such a bitmap, are cut short, or would
    // need more than MAX_PIXELS pixels.
    static std::optional<DibImage> decode(const std::uint8_t* bytes, std::size_t size);
    // Whether the bytes begin like a bitmap (a file header or an info header).
    static bool looksLikeDib(const std::uint8_t* bytes, std::size_t size);

    static constexpr std::int64_t MAX_PIXELS = 64LL * 1024 * 1024;
};

} // namespace kova
