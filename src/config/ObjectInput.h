#pragma once
// The reading side handed to a record's read operation: the mirror of
// ObjectOutput, field for field.

#include "config/RawFormat.h"

#include <cstdint>
#include <vector>

class ObjectInput {
public:
    explicit ObjectInput(RawFormat& format) : format_(format) {}

    RawFormat& format() const { return format_; }

    template <typename T>
    ObjectInput& operator>>(T& value)
    {
        if constexpr (requires { value.read(*this); })
            value.read(*this);
        else
            format_.read(value);
        return *this;
    }

    // The vector is emptied, then the count and that many elements follow.
    // Elements are appended one by one, so a damaged count can never reserve
    // more than the bytes left can fill: the buffer's end stops it first.
    template <typename T>
    ObjectInput& operator>>(std::vector<T>& values)
    {
        values.clear();
        std::int32_t count = 0;
        format_.read(count);
        for (std::int32_t i = 0; i < count; ++i) {
            T value{};
            *this >> value;
            values.push_back(std::move(value));
        }
        return *this;
    }

private:
    RawFormat& format_;
};
