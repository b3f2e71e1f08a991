#include "Rodezir/DibImage.h"

namespace kova {
namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t OPAQUE = 0xFF000000u;

std::uint16_t readU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t readU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool hasFileHeader(const std::uint8_t* bytes, std::size_t size)
{
    return size >= FILE_HEADER_SIZE && bytes[0] == 'B' && bytes[1] == 'M';
}

bool knownBitCount(int bitCount)
{
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
}

// Entries of the colour table; -1 for a bit count that is refused.
long colourTableEntries(int bitCount, std::uint32_t clrUsed)
{
    if (!knownBitCount(bitCount))
        return -1;
    if (clrUsed != 0)
        return bitCount >= 16 ? -1 : static_cast<long>(clrUsed);
    switch (bitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    case 16:
    case 24:
    case 32: return 0;
    default: return -1;
    }
}

std::uint32_t paletteColour(const std::uint8_t* table, long entries, unsigned index)
{
    if (static_cast<long>(index) >= entries)
        return OPAQUE;
    const std::uint8_t* entry = table + 4 * static_cast<std::size_t>(index);
    return OPAQUE | (entry[2] << 16) | (entry[1] << 8) | entry[0];
}

std::uint32_t rowPixel(const std::uint8_t* row, int x, int bitCount, const std::uint8_t* table, long entries)
{
    switch (bitCount) {
    case 1: return paletteColour(table, entries, (row[x / 8] >> (7 - x % 8)) & 1);
    case 4: return paletteColour(table, entries, (row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
    case 8: return paletteColour(table, entries, row[x]);
    case 16: {
        // Five bits each of red, green and blue, spread to eight.
        const std::uint16_t v = readU16(row + 2 * x);
        const unsigned r = (v >> 10) & 0x1F, g = (v >> 5) & 0x1F, b = v & 0x1F;
        return OPAQUE | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    case 24: {
        const std::uint8_t* p = row + 3 * x;
        return OPAQUE | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    default: {
        const std::uint8_t* p = row + 4 * x;
        return OPAQUE | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    }
}

} // namespace

bool DibImage::looksLikeDib(const std::uint8_t* bytes, std::size_t size)
{
    if (hasFileHeader(bytes, size))
        return true;
    return size >= 4 && readU32(bytes) >= INFO_HEADER_SIZE && readU32(bytes) <= 124;
}

std::optional<DibImage> DibImage::decode(const std::uint8_t* bytes, std::size_t size)
{
    if (!bytes)
        return std::nullopt;
    if (hasFileHeader(bytes, size)) {
        bytes += FILE_HEADER_SIZE;
        size -= FILE_HEADER_SIZE;
    }
    if (size < INFO_HEADER_SIZE)
        return std::nullopt;
    const std::uint32_t headerSize = readU32(bytes);
    if (headerSize < INFO_HEADER_SIZE || headerSize > size)
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(readU32(bytes + 4));
    const auto rawHeight = static_cast<std::int32_t>(readU32(bytes + 8));
    const int bitCount = readU16(bytes + 14);
    const std::uint32_t compression = readU32(bytes + 16);
    const std::uint32_t clrUsed = readU32(bytes + 32);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN || compression != BI_RGB)
        return std::nullopt;
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (static_cast<std::int64_t>(width) * height > MAX_PIXELS)
        return std::nullopt;
    const long entries = colourTableEntries(bitCount, clrUsed);
    if (entries < 0 || entries > 256)
        return std::nullopt;

    const std::size_t tableOffset = headerSize;
    const std::size_t bitsOffset = tableOffset + 4 * static_cast<std::size_t>(entries);
    const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
    if (bitsOffset > size || (size - bitsOffset) / stride < static_cast<std::size_t>(height))
        return std::nullopt;

    DibImage image;
    image.width = width;
    image.height = static_cast<int>(height);
    image.pixels.resize(static_cast<std::size_t>(width) * image.height);
    const std::uint8_t* table = bytes + tableOffset;
    for (int y = 0; y < image.height; ++y) {
        // Rows are stored bottom-up unless the height is negative.
        const int stored = topDown ? y : image.height - 1 - y;
        const std::uint8_t* row = bytes + bitsOffset + stride * static_cast<std::size_t>(stored);
        for (int x = 0; x < width; ++x)
            image.pixels[static_cast<std::size_t>(y) * width + x] = rowPixel(row, x, bitCount, table, entries);
    }
    return image;
}

} // namespace kova
