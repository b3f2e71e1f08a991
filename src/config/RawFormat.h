#pragma once
// The raw field encoding over one mem_buffer: fixed-size little-endian
// scalars, length-prefixed strings, no tags and no padding. The reader must
// know the order and the types of the fields.

#include "Rodezir/mem_buffer.h"

#include <cstdint>
#include <string>

class RawFormat {
public:
    explicit RawFormat(mem_buffer& buffer) : buffer_(buffer) {}

    mem_buffer& buffer() const { return buffer_; }

    void write(bool value);
    void write(char value);
    void write(std::int32_t value);
    void write(std::uint32_t value);
    void write(double value);
    // 32-bit byte length, then the bytes.
    void write(const std::string& value);
    // 32-bit byte count (2 per UTF-16 unit), then the UTF-16 units.
    void write(const std::wstring& value);

    void read(bool& value);
    void read(char& value);
    void read(std::int32_t& value);
    void read(std::uint32_t& value);
    void read(double& value);
    // A length that cannot be satisfied by the bytes left throws the overflow
    // before anything is allocated; a negative one throws too.
    void read(std::string& value);
    void read(std::wstring& value);

    // Raw blocks, moved in pieces of 256 bytes as the overflow figures show.
    void writeBlock(const void* data, std::size_t size);
    void readBlock(void* data, std::size_t size);

private:
    template <typename Visit>
    void inPieces(std::size_t size, Visit visit);
    std::size_t checkedLength(std::int32_t length);

    mem_buffer& buffer_;
};
