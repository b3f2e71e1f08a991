#pragma once
// The class library's archive encoding of its collections, in which the
// registry keeps string lists, arrays, rectangles and points as binary values:
// an element count (16 bits little-endian below 0xFFFF, else 0xFFFF and 32
// bits), then the elements: bytes, little-endian words or DWORDs, or counted
// strings (a length byte below 0xFF, else 0xFF and a 16-bit length below
// 0xFFFE, else 0xFF 0xFFFF and a 32-bit length; 0xFF 0xFFFE announces a
// string of UTF-16 units, read into UTF-8).
//
// Each decoder checks every count and length against the bytes left before
// it allocates or copies; damaged bytes answer false and leave the output alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace archive {

std::vector<unsigned char> encode(const std::vector<std::uint8_t>& bytes);
std::vector<unsigned char> encode(const std::vector<std::uint16_t>& words);
std::vector<unsigned char> encode(const std::vector<std::uint32_t>& dwords);
std::vector<unsigned char> encode(const std::vector<std::string>& strings);

bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint8_t>& bytes);
bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint16_t>& words);
bool decode(const unsigned char* data, std::size_t size, std::vector<std::uint32_t>& dwords);
bool decode(const unsigned char* data, std::size_t size, std::vector<std::string>& strings);

} // namespace archive
