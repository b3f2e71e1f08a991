#include "gettext/MoCatalog.h"

#include "Rodezir/LogStream.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t MAGIC = 0x950412de;
constexpr std::uint32_t MAGIC_SWAPPED = 0xde120495;
constexpr std::size_t HEADER_SIZE = 28;
constexpr std::size_t ENTRY_SIZE = 8;

// Header word offsets.
constexpr std::size_t COUNT_AT = 8;
constexpr std::size_t IDS_AT = 12;
constexpr std::size_t TRANSLATIONS_AT = 16;
constexpr std::size_t HASH_SIZE_AT = 20;
constexpr std::size_t HASH_TABLE_AT = 24;

// Below three slots the GNU tools write no usable hash table and the ids
// are searched by halving instead.
constexpr std::uint32_t MIN_HASH_SIZE = 3;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or false when it cannot be read as a regular file.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes, bool& tooLarge)
{
    tooLarge = false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > MoCatalog::MAX_FILE_SIZE) {
        tooLarge = true;
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    if (size > 0 && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    return true;
}

// hashpjw, as the GNU tools hash the ids when they write the table.
std::uint32_t hashPjw(std::string_view text)
{
    std::uint32_t h = 0;
    for (unsigned char c : text) {
        h = (h << 4) + c;
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h = h ^ (g >> 24) ^ g;
    }
    return h;
}

std::string_view untilZero(std::string_view text)
{
    const std::size_t zero = text.find('\0');
    return zero == std::string_view::npos ? text : text.substr(0, zero);
}

// Byte order of the ids as the GNU tools sort them: unsigned bytes, a
// proper prefix first.
int compareBytes(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace

bool MoCatalog::endsWithMoExtension(std::string_view path)
{
    const std::size_t n = path.size();
    return n >= 3 && path[n - 3] == '.' && (path[n - 2] == 'm' || path[n - 2] == 'M')
        && (path[n - 1] == 'o' || path[n - 1] == 'O');
}

bool MoCatalog::open(const std::string& path)
{
    clear();
    // The bare name ".mo" is a file name, not an extension.
    const bool hasExtension = path.size() > 3 && endsWithMoExtension(path);
    const std::string fileName = hasExtension ? path : path + ".mo";
    std::vector<unsigned char> bytes;
    bool tooLarge = false;
    if (!readWholeFile(fileName, bytes, tooLarge)) {
        if (tooLarge)
            LogStream::instance() << "Message catalog " << fileName << " rejected: the file is too large\n";
        return false;
    }
    std::string problem;
    if (load(std::move(bytes), problem))
        return true;
    if (!problem.empty())
        LogStream::instance() << "Message catalog " << fileName << " rejected: " << problem << "\n";
    return false;
}

bool MoCatalog::load(std::vector<unsigned char> image, std::string& problem)
{
    clear();
    problem.clear();
    if (image.size() <= HEADER_SIZE || image.size() > MAX_FILE_SIZE)
        return false;
    image_ = std::move(image);
    const std::uint32_t magic = word(0);
    if (magic != MAGIC && magic != MAGIC_SWAPPED) {
        clear();
        return false;
    }
    swapped_ = magic == MAGIC_SWAPPED;
    count_ = word(COUNT_AT);
    ids_ = word(IDS_AT);
    translations_ = word(TRANSLATIONS_AT);
    hashSize_ = word(HASH_SIZE_AT);
    hashTable_ = word(HASH_TABLE_AT);

    // Every offset and length is checked here once, so that lookups can
    // trust them: a damaged or hostile catalog is refused whole.
    problem = checkTables();
    if (problem.empty())
        problem = checkStrings(ids_, "message id");
    if (problem.empty())
        problem = checkStrings(translations_, "translation");
    if (problem.empty())
        problem = checkHashTable();
    if (!problem.empty()) {
        clear();
        return false;
    }
    return true;
}

void MoCatalog::clear()
{
    image_.clear();
    image_.shrink_to_fit();
    count_ = hashSize_ = hashTable_ = ids_ = translations_ = 0;
    swapped_ = false;
}

// A word of the file in the file's byte order. Callers keep offset + 4
// within the image.
std::uint32_t MoCatalog::word(std::size_t offset) const
{
    const unsigned char* b = image_.data() + offset;
    if (swapped_)
        return std::uint32_t(b[3]) | std::uint32_t(b[2]) << 8 | std::uint32_t(b[1]) << 16 | std::uint32_t(b[0]) << 24;
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
}

std::string_view MoCatalog::entry(std::uint32_t table, std::uint32_t index) const
{
    const std::size_t at = std::size_t(table) + std::size_t(index) * ENTRY_SIZE;
    const std::uint32_t length = word(at);
    const std::uint32_t offset = word(at + 4);
    return {reinterpret_cast<const char*>(image_.data()) + offset, length};
}

std::string MoCatalog::checkTables() const
{
    const std::uint64_t size = image_.size();
    const std::uint64_t tableBytes = std::uint64_t(count_) * ENTRY_SIZE;
    if (ids_ > size || tableBytes > size - ids_)
        return "the table of message ids reaches beyond the end of the file";
    if (translations_ > size || tableBytes > size - translations_)
        return "the table of translations reaches beyond the end of the file";
    return {};
}

std::string MoCatalog::checkStrings(std::uint32_t table, const char* what) const
{
    const std::uint64_t size = image_.size();
    for (std::uint32_t i = 0; i < count_; ++i) {
        const std::size_t at = std::size_t(table) + std::size_t(i) * ENTRY_SIZE;
        const std::uint64_t length = word(at);
        const std::uint64_t offset = word(at + 4);
        if (offset > size || length > size - offset)
            return std::string(what) + " " + std::to_string(i) + " reaches beyond the end of the file";
    }
    return {};
}

std::string MoCatalog::checkHashTable() const
{
    if (hashSize_ < MIN_HASH_SIZE)
        return {};
    const std::uint64_t size = image_.size();
    if (hashTable_ > size || std::uint64_t(hashSize_) * 4 > size - hashTable_)
        return "the hash table reaches beyond the end of the file";
    bool hasEmptySlot = false;
    for (std::uint32_t i = 0; i < hashSize_; ++i) {
        const std::uint32_t slot = word(std::size_t(hashTable_) + std::size_t(i) * 4);
        if (slot == 0)
            hasEmptySlot = true;
        else if (slot > count_)
            return "hash slot " + std::to_string(i) + " names a string the catalog does not hold";
    }
    // A probe for a missing id ends only at an empty slot.
    if (!hasEmptySlot)
        return "the hash table has no empty slot";
    return {};
}

std::string_view MoCatalog::messageId(std::uint32_t index) const
{
    return index < count_ ? entry(ids_, index) : std::string_view();
}

std::string MoCatalog::lookup(std::string_view msgid) const
{
    if (!isLoaded())
        return {};
    msgid = untilZero(msgid);
    return hashSize_ >= MIN_HASH_SIZE ? hashLookup(msgid) : binaryLookup(msgid);
}

std::string MoCatalog::hashLookup(std::string_view msgid) const
{
    const std::uint32_t h = hashPjw(msgid);
    std::uint32_t idx = h % hashSize_;
    const std::uint32_t incr = 1 + h % (hashSize_ - 2);
    // A sound table sends every probe to its entry or an empty slot within
    // as many steps as it has slots; a table whose step size shares a factor
    // with its size could circle for ever, so the walk stops there.
    for (std::uint32_t step = 0; step < hashSize_; ++step) {
        const std::uint32_t e = word(std::size_t(hashTable_) + std::size_t(idx) * 4);
        if (e == 0)
            return {};
        if (entry(ids_, e - 1) == msgid)
            return std::string(entry(translations_, e - 1));
        idx = idx < hashSize_ - incr ? idx + incr : idx + incr - hashSize_;
    }
    return {};
}

std::string MoCatalog::binaryLookup(std::string_view msgid) const
{
    std::uint32_t lo = 0;
    std::uint32_t hi = count_;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        const int order = compareBytes(msgid, entry(ids_, mid));
        if (order < 0)
            hi = mid;
        else if (order > 0)
            lo = mid + 1;
        else
            return std::string(entry(translations_, mid));
    }
    return {};
}
