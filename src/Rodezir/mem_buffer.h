#pragma once
// A bounded byte buffer over memory its caller owns: the one place through
// which settings, session records and controller data are serialised.

#include <cstddef>
#include <cstdint>
#include <stdexcept>

class mem_buffer {
public:
    // Thrown when a request runs past the end; carries how many bytes were
    // left before the request and how many it asked for.
    class buffer_overflow_error : public std::overflow_error {
    public:
        buffer_overflow_error(std::int32_t bytesLeft, std::int32_t bytesNeeded);
        std::int32_t bytesLeft;
        std::int32_t bytesNeeded;
    };

    // The block [start, start + size) stays owned by the caller.
    mem_buffer(unsigned char* start, std::size_t size);

    // The n bytes at the current position; the position moves past them.
    // Past the end it throws and the buffer is not to be used again.
    unsigned char* require(std::size_t n);

    unsigned char* begin() const { return begin_; }
    unsigned char* position() const { return position_; }
    unsigned char* end() const { return end_; }
    // Bytes written or read so far.
    std::size_t used() const { return static_cast<std::size_t>(position_ - begin_); }
    std::size_t left() const { return static_cast<std::size_t>(end_ - position_); }

private:
    unsigned char* begin_;
    unsigned char* position_;
    unsigned char* end_;
};
