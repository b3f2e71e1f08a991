#include "config/RawFormat.h"

#include "Rodezir/gstringUtil.h"

#include <bit>
#include <cstring>
#include <vector>

namespace {

void putLittleEndian(unsigned char* place, std::uint64_t value, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        place[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t getLittleEndian(const unsigned char* place, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint64_t>(place[i]) << (8 * i);
    return value;
}

} // namespace

void RawFormat::write(bool value) { *buffer_.require(1) = value ? 1 : 0; }
void RawFormat::write(char value) { *buffer_.require(1) = static_cast<unsigned char>(value); }
void RawFormat::write(std::int32_t value) { putLittleEndian(buffer_.require(4), static_cast<std::uint32_t>(value), 4); }
void RawFormat::write(std::uint32_t value) { putLittleEndian(buffer_.require(4), value, 4); }
void RawFormat::write(double value) { putLittleEndian(buffer_.require(8), std::bit_cast<std::uint64_t>(value), 8); }

void RawFormat::read(bool& value) { value = *buffer_.require(1) != 0; }
void RawFormat::read(char& value) { value = static_cast<char>(*buffer_.require(1)); }
void RawFormat::read(std::int32_t& value) { value = static_cast<std::int32_t>(getLittleEndian(buffer_.require(4), 4)); }
void RawFormat::read(std::uint32_t& value) { value = static_cast<std::uint32_t>(getLittleEndian(buffer_.require(4), 4)); }
void RawFormat::read(double& value) { value = std::bit_cast<double>(getLittleEndian(buffer_.require(8), 8)); }

// Blocks move as (size >> 8) - 1 pieces of 256 bytes, when that is
// positive, then the rest in one piece; so an overflow names the piece that
// did not fit, not the whole block.
template <typename Visit>
void RawFormat::inPieces(std::size_t size, Visit visit)
{
    std::size_t offset = 0;
    const std::size_t fullPieces = size >> 8;
    if (fullPieces > 1) {
        for (std::size_t i = 0; i + 1 < fullPieces; ++i, offset += 256)
            visit(buffer_.require(256), offset, 256);
    }
    const std::size_t rest = size - offset;
    visit(buffer_.require(rest), offset, rest);
}

void RawFormat::writeBlock(const void* data, std::size_t size)
{
    const auto* source = static_cast<const unsigned char*>(data);
    inPieces(size, [source](unsigned char* place, std::size_t offset, std::size_t n) {
        if (n > 0)
            std::memcpy(place, source + offset, n);
    });
}

void RawFormat::readBlock(void* data, std::size_t size)
{
    auto* target = static_cast<unsigned char*>(data);
    inPieces(size, [target](unsigned char* place, std::size_t offset, std::size_t n) {
        if (n > 0)
            std::memcpy(target + offset, place, n);
    });
}

// A length from the buffer is trusted only once the bytes behind it exist:
// walking the pieces without copying throws exactly the overflow a real
// read would, before anything is allocated.
std::size_t RawFormat::checkedLength(std::int32_t length)
{
    if (length < 0)
        throw mem_buffer::buffer_overflow_error(static_cast<std::int32_t>(buffer_.left()), length);
    const auto size = static_cast<std::size_t>(length);
    if (size > buffer_.left())
        inPieces(size, [](unsigned char*, std::size_t, std::size_t) {});
    return size;
}

void RawFormat::write(const std::string& value)
{
    write(static_cast<std::int32_t>(value.size()));
    writeBlock(value.data(), value.size());
}

void RawFormat::read(std::string& value)
{
    std::int32_t length = 0;
    read(length);
    const std::size_t size = checkedLength(length);
    std::string text(size, '\0');
    readBlock(text.data(), size);
    value = std::move(text);
}

// Wide strings are UTF-32 here but travel as UTF-16 units, as the station's
// files and the hand-held controller expect.
void RawFormat::write(const std::wstring& value)
{
    const std::vector<unsigned char> bytes = wideToUtf16le(value);
    write(static_cast<std::int32_t>(bytes.size()));
    writeBlock(bytes.data(), bytes.size());
}

void RawFormat::read(std::wstring& value)
{
    std::int32_t count = 0;
    read(count);
    const std::size_t size = checkedLength(count);
    std::vector<unsigned char> bytes(size);
    readBlock(bytes.data(), size);
    value = utf16leToWide(bytes.data(), size);
}
