#include "Rodezir/ArchiveCodec.h"

#include "Rodezir/gstringUtil.h"

namespace archive {

namespace {

class Writer {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void count(std::size_t n)
    {
        if (n < 0xFFFF) {
            u16(static_cast<std::uint16_t>(n));
        } else {
            u16(0xFFFF);
            u32(static_cast<std::uint32_t>(n));
        }
    }
    void string(const std::string& s)
    {
        const std::size_t length = s.size();
        if (length < 0xFF) {
            u8(static_cast<std::uint8_t>(length));
        } else if (length < 0xFFFE) {
            u8(0xFF);
            u16(static_cast<std::uint16_t>(length));
        } else {
            u8(0xFF);
            u16(0xFFFF);
            u32(static_cast<std::uint32_t>(length));
        }
        bytes_.insert(bytes_.end(), s.begin(), s.end());
    }
    std::vector<unsigned char> take() { return std::move(bytes_); }

private:
    std::vector<unsigned char> bytes_;
};

// Reads with a bounds check before every access.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : data_(data), left_(size) {}

    std::size_t left() const { return left_; }
    bool u8(std::uint8_t& v)
    {
        if (left_ < 1)
            return false;
        v = *data_++;
        --left_;
        return true;
    }
    bool u16(std::uint16_t& v)
    {
        std::uint8_t lo = 0, hi = 0;
        if (left_ < 2 || !u8(lo) || !u8(hi))
            return false;
        v = static_cast<std::uint16_t>(lo | hi << 8);
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        std::uint16_t lo = 0, hi = 0;
        if (left_ < 4 || !u16(lo) || !u16(hi))
            return false;
        v = static_cast<std::uint32_t>(lo) | static_cast<std::uint32_t>(hi) << 16;
        return true;
    }
    // An element count that the bytes left can hold at `elementSize` each.
    bool count(std::size_t elementSize, std::size_t& n)
    {
        std::uint16_t small = 0;
        if (!u16(small))
            return false;
        std::uint32_t large = small;
        if (small == 0xFFFF && !u32(large))
            return false;
        n = large;
        return n <= left_ / elementSize;
    }
    bool bytes(std::size_t n, const unsigned char*& at)
    {
        if (n > left_)
            return false;
        at = data_;
        data_ += n;
        left_ -= n;
        return true;
    }
    bool string(std::string& s)
    {
        bool wide = false;
        std::uint32_t length = 0;
        if (!stringLength(length, wide))
            return false;
        if (wide && !stringLength(length, wide))
            return false;
        const std::size_t byteCount = wide ? 2 * static_cast<std::size_t>(length) : length;
        const unsigned char* at = nullptr;
        if (!bytes(byteCount, at))
            return false;
        s = wide ? toNarrow(utf16leToWide(at, byteCount), CP_UTF8) : std::string(reinterpret_cast<const char*>(at), byteCount);
        return true;
    }

private:
    // One length prefix; 0xFF 0xFFFE says a UTF-16 string's own prefix follows.
    bool stringLength(std::uint32_t& length, bool& wide)
    {
        std::uint8_t first = 0;
        if (!u8(first))
            return false;
        if (first < 0xFF) {
            length = first;
            return true;
        }
        std::uint16_t second = 0;
        if (!u16(second))
            return false;
        if (second == 0xFFFE) {
            if (wide)
                return false;
            wide = true;
            return true;
        }
        if (second < 0xFFFF) {
            length = second;
            return true;
        }
        return u32(length);
    }

    const unsigned char* data_;
    std::size_t left_;
};

template <class T>
std::vector<unsigned char> encodeNumbers(const std::vector<T>& values)
{
    Writer w;
    w.count(values.size());
    for (T v : values) {
        if constexpr (sizeof(T) == 1)
            w.u8(v);
        else if constexpr (sizeof(T) == 2)
            w.u16(v);
        else
            w.u32(v);
    }
    return w.take();
}

template <class T>
bool decodeNumbers(const unsigned char* data, std::size_t size, std::vector<T>& values)
{
    Reader r(data, size);
    std::size_t n = 0;
    if (!r.count(sizeof(T), n))
        return false;
    std::vector<T> result(n);
    for (T& v : result) {
        bool ok;
        if constexpr (sizeof(T) == 1)
            ok = r.u8(v);
        else if constexpr (sizeof(T) == 2)
            ok = r.u16(v);
        else
            ok = r.u32(v);
        if (!ok)
            return false;
    }
    values = std::move(result);
    return true;
}

} // namespace

std::vector<unsigned char> encode(const std::vector<std::uint8_t>& bytes) { return encodeNumbers(bytes); }
std::vector<unsigned char> encode(const std::vector<std::uint16_t>& words) { return encodeNumbers(words); }
std::vector<unsigned char> encode(const std::vector<std::uint32_t>& dwords) { return encodeNumbers(dwords); }

std::vector<unsigned char> encode(const std::vector<std::string>& strings)
{
    Writer w;
    w.count(strings.size());
    for (const std::string& s : strings)
        w.string(s);
    return w.take();
}

bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint8_t>& bytes) { return decodeNumbers(data, size, bytes); }
bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint16_t>& words) { return decodeNumbers(data, size, words); }
bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint32_t>& dwords) { return decodeNumbers(data, size, dwords); }

bool decode(const unsigned char* data, std::size_t size, std::vector<std::string>& strings)
{
    Reader r(data, size);
    std::size_t n = 0;
    // Every string takes at least its length byte.
    if (!r.count(1, n))
        return false;
    std::vector<std::string> result;
    result.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string s;
        if (!r.string(s))
            return false;
        result.push_back(std::move(s));
    }
    strings = std::move(result);
    return true;
}

} // namespace archive
