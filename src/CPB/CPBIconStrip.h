#pragma once
// The event icons as the controller gets them, without any window: one of
// the station's black-on-white icon strips (24 or 32 pixels a side), decoded
// from its bitmap resource and cut into icons of CPBIcon pixels.

#include "CPB/CPBIcon.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CPBIconStrip {
public:
    // Bitmap resources of the strips drawn for the controller.
    static constexpr int SMALL_BITMAP = 279; // 24 x 24 per icon
    static constexpr int LARGE_BITMAP = 278; // 32 x 32 per icon
    static constexpr int ICON_COUNT = 97;

    // The strip of 32-pixel icons for side 32, of 24-pixel icons for any
    // other side; loaded on first use and kept until the program ends. A
    // strip the program does not hold is logged once and has no icons.
    static const CPBIconStrip& forSide(int side);

    // The strip in bitmap bytes (a bitmap file or a bitmap resource), cut
    // into icons `side` pixels wide; no icons when the bytes are no bitmap.
    CPBIconStrip(const std::uint8_t* bytes, std::size_t size, int side);
    // The strip in the bitmap resource `bitmapId`.
    static CPBIconStrip fromResource(int bitmapId, int side);

    int side() const { return side_; }
    // The icons the strip holds (at most ICON_COUNT).
    int count() const { return count_; }
    bool contains(int number) const { return number >= 0 && number < count_; }

    // Icon `number`, side x side pixels; all white when the strip lacks it.
    CPBIcon::Pixels icon(int number) const;

private:
    explicit CPBIconStrip(int side) : side_(side > 0 ? side : 0) {}

    int side_;
    int count_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;
};
