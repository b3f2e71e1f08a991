#pragma once
// A window's style bits, with the one question the fit checker asks of them.

#include <cstdint>

namespace kova {

class WindowStyle {
public:
    explicit WindowStyle(std::uint32_t style) : style_(style) {}
    // True when every bit of the mask is set.
    bool hasStyle(std::uint32_t mask) const { return (style_ & mask) == mask; }
    std::uint32_t value() const { return style_; }

private:
    std::uint32_t style_;
};

} // namespace kova
