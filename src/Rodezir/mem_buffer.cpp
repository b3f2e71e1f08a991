#include "Rodezir/mem_buffer.h"

#include <limits>

namespace {
std::int32_t clampToInt32(std::size_t n)
{
    constexpr auto largest = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(n > largest ? largest : n);
}
} // namespace

mem_buffer::buffer_overflow_error::buffer_overflow_error(std::int32_t left, std::int32_t needed)
    : std::overflow_error("XTL mem_buffer overflow"), bytesLeft(left), bytesNeeded(needed)
{
}

mem_buffer::mem_buffer(unsigned char* start, std::size_t size) : begin_(start), position_(start), end_(start + size) {}

unsigned char* mem_buffer::require(std::size_t n)
{
    // Compared as counts, never by forming a pointer past the block.
    if (n > left())
        throw buffer_overflow_error(clampToInt32(left()), clampToInt32(n));
    unsigned char* place = position_;
    position_ += n;
    return place;
}
