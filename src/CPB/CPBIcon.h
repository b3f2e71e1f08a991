#pragma once
// The hand-held controller's 1-bit icon images: an event icon as the icon
// image list draws it, sampled pixel by pixel (black is 1, any other colour
// 0) into the controller's large (32 x 32) and small (24 x 24) layouts, and
// into the 24-dot bit image its printer takes in a debriefing page.

#include <cstdint>
#include <vector>

class CPBIcon {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr int LARGE_SIDE = 32;
    static constexpr int LARGE_BYTES = 128;
    static constexpr int SMALL_SIDE = 24;
    static constexpr int SMALL_BYTES = 72;

    // An icon's pixels as 0xAARRGGBB values (QImage::Format_RGB32 or ARGB32
    // scan lines), rows from the top. The alpha byte is not looked at;
    // pixels the image does not cover count as white.
    struct Pixels {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> argb;

        bool isBlack(int x, int y) const;
    };

    // Four strips of 8 columns from the left, each 32 bytes from the top
    // row down: pixel (x, y) is bit 7 - x % 8 of byte (x / 8) * 32 + y.
    static Bytes encodeLarge(const Pixels& icon);
    // Three bytes per row from the bottom row up, leftmost pixels in the high
    // bits: pixel (x, y) is bit 7 - x % 8 of byte 69 - 3 * y + x / 8.
    static Bytes encodeSmall(const Pixels& icon);
    // The printer's 24-dot bit image: column by column from the left, three
    // bytes per column, the top dot in the high bit of the first: pixel
    // (x, y) is bit 7 - y % 8 of byte 3 * x + y / 8.
    static Bytes encodeBitImage(const Pixels& icon);
};
