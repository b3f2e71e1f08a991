#pragma once
// The rectangle, point and size values of window geometry: client coordinates
// in pixels, or dialog units in templates. A RECT's right and bottom edges lie
// just outside it, so its width is right - left.

namespace kova {

struct POINT {
    int x = 0;
    int y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    // A rectangle without width or without height covers nothing.
    bool isEmpty() const { return right <= left || bottom <= top; }
    RECT offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline RECT unionRect(const RECT& a, const RECT& b)
{
    if (a.isEmpty())
        return b.isEmpty() ? RECT{} : b;
    if (b.isEmpty())
        return a;
    return {a.left < b.left ? a.left : b.left, a.top < b.top ? a.top : b.top,
            a.right > b.right ? a.right : b.right, a.bottom > b.bottom ? a.bottom : b.bottom};
}

// The factor that stretches a natural extent to a placed one; 1 when there
// is no natural extent, so an item of zero size moves instead of dividing by zero.
inline double scaleOf(int placed, int natural)
{
    return natural != 0 ? static_cast<double>(placed) / natural : 1.0;
}

// a * b / c rounded to the nearest integer, halves away from zero, computed
// without overflow; -1 when c is 0. Dialog-unit conversions depend on this
// exact rounding.
inline int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    if (product < 0)
        product = -product;
    const long long divisor = c < 0 ? -static_cast<long long>(c) : c;
    const long long quotient = (product + divisor / 2) / divisor;
    return static_cast<int>(negative ? -quotient : quotient);
}

} // namespace kova
