#pragma once
// What TextLines needs of a device context: the font's height, the size of a
// text in that font, and (when drawing) putting a text at a point. A painter
// with its font is the real one; tests hand in fixed-width fakes.

#include "Rodezir/Geometry.h"

#include <string>

namespace kova {

class TextDevice {
public:
    virtual ~TextDevice() = default;
    // The height of a line of the current font.
    virtual int textHeight() const = 0;
    virtual SIZE textExtent(const std::wstring& text) const = 0;
    // Draws the text with its top-left corner at (x, y).
    virtual void drawText(int x, int y, const std::wstring& text) = 0;
};

} // namespace kova
