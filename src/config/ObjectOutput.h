#pragma once
// The writing side handed to a record's write operation: scalars and strings
// go straight to the raw format, vectors as a count and their elements, and
// records through their own write(ObjectOutput&).

#include "config/RawFormat.h"

#include <cstdint>
#include <vector>

class ObjectOutput {
public:
    explicit ObjectOutput(RawFormat& format) : format_(format) {}

    RawFormat& format() const { return format_; }

    template <typename T>
    ObjectOutput& operator<<(const T& value)
    {
        if constexpr (requires { value.write(*this); })
            value.write(*this);
        else
            format_.write(value);
        return *this;
    }

    template <typename T>
    ObjectOutput& operator<<(const std::vector<T>& values)
    {
        format_.write(static_cast<std::int32_t>(values.size()));
        for (const T& value : values)
            *this << value;
        return *this;
    }

private:
    RawFormat& format_;
};
