#pragma once
// One compiled GNU message catalog (".mo"), held in memory as a whole, that
// answers the stored translation of an English message id.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class MoCatalog {
public:
    // Catalogs of the station are a few hundred kilobytes; anything far
    // beyond this is not a catalog and is refused before it is read.
    static constexpr std::size_t MAX_FILE_SIZE = 64u * 1024u * 1024u;

    MoCatalog() = default;
    ~MoCatalog() = default;
    MoCatalog(const MoCatalog&) = delete;
    MoCatalog& operator=(const MoCatalog&) = delete;

    // Loads the catalog at `path` (".mo" is appended unless the path already
    // ends in it, in any case). A missing file or one that is no catalog at
    // all answers false quietly; a catalog whose tables do not fit the file
    // also answers false and says why in the error log.
    bool open(const std::string& path);

    // Takes a whole catalog image. False when it is no catalog (`problem`
    // stays empty) or when it is damaged (`problem` names the fault). On
    // false nothing stays loaded.
    bool load(std::vector<unsigned char> image, std::string& problem);

    bool isLoaded() const { return !image_.empty(); }

    // The text ends in "." followed by "m" or "M" and "o" or "O".
    static bool endsWithMoExtension(std::string_view path);

    // The number of messages, and the stored message id of one of them
    // (index below `count`), as the catalog holds it.
    std::uint32_t count() const { return count_; }
    std::string_view messageId(std::uint32_t index) const;

    // The stored translation bytes (in the catalog's own encoding), or an
    // empty string when the catalog has no entry for `msgid`. The id counts
    // up to its first zero byte.
    std::string lookup(std::string_view msgid) const;

private:
    std::uint32_t word(std::size_t offset) const;
    std::string_view entry(std::uint32_t table, std::uint32_t index) const;
    std::string checkTables() const;
    std::string checkStrings(std::uint32_t table, const char* what) const;
    std::string checkHashTable() const;
    std::string hashLookup(std::string_view msgid) const;
    std::string binaryLookup(std::string_view msgid) const;
    void clear();

    std::vector<unsigned char> image_;
    std::uint32_t count_ = 0;
    std::uint32_t hashSize_ = 0;
    std::uint32_t hashTable_ = 0;
    std::uint32_t ids_ = 0;
    std::uint32_t translations_ = 0;
    bool swapped_ = false;
};
