#pragma once
// Hand-made little-endian message catalogs for the cases msgfmt will not
// write: empty translations, odd hash tables, damaged offsets.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kovatest {

struct CatalogEntry {
    std::string id;
    std::string translation;
};

// A catalog that the build wrote with msgfmt for the tests.
std::string testCatalogPath(const std::string& name);

// Header, id table, translation table, the hash slots exactly as given
// (their count is the table size; none gives size 0), then the strings.
std::vector<unsigned char> buildCatalog(const std::vector<CatalogEntry>& entries,
                                        const std::vector<std::uint32_t>& hashSlots = {});

std::uint32_t getWord(const std::vector<unsigned char>& bytes, std::size_t offset);
void putWord(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value);

// Header word offsets of the catalog format.
inline constexpr std::size_t COUNT_WORD = 8;
inline constexpr std::size_t IDS_WORD = 12;
inline constexpr std::size_t TRANSLATIONS_WORD = 16;
inline constexpr std::size_t HASH_SIZE_WORD = 20;
inline constexpr std::size_t HASH_TABLE_WORD = 24;

} // namespace kovatest
