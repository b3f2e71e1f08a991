#include "CatalogBuilder.h"

#include <algorithm>

namespace kovatest {

std::string testCatalogPath(const std::string& name) { return std::string(KOVA_TEST_CATALOGS) + "/" + name; }

std::uint32_t getWord(const std::vector<unsigned char>& bytes, std::size_t offset)
{
    return std::uint32_t(bytes.at(offset)) | std::uint32_t(bytes.at(offset + 1)) << 8
        | std::uint32_t(bytes.at(offset + 2)) << 16 | std::uint32_t(bytes.at(offset + 3)) << 24;
}

void putWord(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value)
{
    if (bytes.size() < offset + 4)
        bytes.resize(offset + 4);
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

std::vector<unsigned char> buildCatalog(const std::vector<CatalogEntry>& entries,
                                        const std::vector<std::uint32_t>& hashSlots)
{
    const auto count = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t ids = 28;
    const std::uint32_t translations = ids + 8 * count;
    const std::uint32_t hash = translations + 8 * count;
    std::uint32_t strings = hash + 4 * static_cast<std::uint32_t>(hashSlots.size());

    std::vector<unsigned char> bytes;
    putWord(bytes, 0, 0x950412de);
    putWord(bytes, 4, 0);
    putWord(bytes, COUNT_WORD, count);
    putWord(bytes, IDS_WORD, ids);
    putWord(bytes, TRANSLATIONS_WORD, translations);
    putWord(bytes, HASH_SIZE_WORD, static_cast<std::uint32_t>(hashSlots.size()));
    putWord(bytes, HASH_TABLE_WORD, hash);
    for (std::size_t i = 0; i < hashSlots.size(); ++i)
        putWord(bytes, hash + 4 * i, hashSlots[i]);

    auto addString = [&](std::size_t tableEntry, const std::string& text) {
        putWord(bytes, tableEntry, static_cast<std::uint32_t>(text.size()));
        putWord(bytes, tableEntry + 4, strings);
        bytes.resize(strings + text.size() + 1);
        std::copy(text.begin(), text.end(), bytes.begin() + strings);
        strings += static_cast<std::uint32_t>(text.size()) + 1;
    };
    for (std::uint32_t i = 0; i < count; ++i) {
        addString(ids + 8 * i, entries[i].id);
        addString(translations + 8 * i, entries[i].translation);
    }
    return bytes;
}

} // namespace kovatest
