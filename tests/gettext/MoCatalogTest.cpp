#include "gettext/MoCatalog.h"

#include "CatalogBuilder.h"
#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using kovatest::buildCatalog;
using kovatest::getWord;
using kovatest::putWord;

namespace {

using kovatest::testCatalogPath;

std::vector<unsigned char> catalogBytes(const std::string& name)
{
    const std::string text = kovatest::readFile(testCatalogPath(name));
    return {text.begin(), text.end()};
}

void writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes)
{
    kovatest::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// The log is opened before any test changes the working folder, so it stays
// in the test program's own folder.
class OpenLog : public ::testing::Environment {
public:
    void SetUp() override { logPath_ = fs::absolute(LogStream::instance().path()); }
    static std::string text() { return kovatest::readFile(logPath_); }

private:
    static inline fs::path logPath_;
};
[[maybe_unused]] auto* const openLog = ::testing::AddGlobalTestEnvironment(new OpenLog);

struct Message {
    const char* id;
    const char* translation;
};

const Message SAMPLE[] = {
    {"File", "Datei"},
    {"New session", "Neue Sitzung"},
    {"Search for Manikins", "Suche nach Puppen"},
    {"Compression depth", "Kompressionstiefe"},
    {"Ventilation volume", "Beatmungsvolumen"},
    {"Cancel", "Abbrechen"},
    {"Print...", "Drucken..."},
    {"Help", "Hilfe"},
    {"Algorithm", "Algorithmus"},
    {"Scenario", "Szenario"},
    {"%d compressions", "%d Kompressionen"},
    {"Duration: %s", "Dauer: %s"},
};

} // namespace

TEST(MoCatalog, hashedUnhashedAndBigEndianCatalogsTranslateAlike)
{
    // The fixtures really are the three forms.
    const auto hashed = catalogBytes("sample-hashed.mo");
    const auto unhashed = catalogBytes("sample-nohash.mo");
    const auto big = catalogBytes("sample-big.mo");
    ASSERT_GE(getWord(hashed, kovatest::HASH_SIZE_WORD), 3u);
    ASSERT_EQ(getWord(unhashed, kovatest::HASH_SIZE_WORD), 0u);
    ASSERT_EQ(std::vector<unsigned char>(big.begin(), big.begin() + 4),
              (std::vector<unsigned char>{0x95, 0x04, 0x12, 0xde}));

    for (const char* form : {"sample-hashed.mo", "sample-nohash.mo", "sample-big.mo"}) {
        SCOPED_TRACE(form);
        MoCatalog catalog;
        ASSERT_TRUE(catalog.open(testCatalogPath(form)));
        for (const Message& message : SAMPLE)
            EXPECT_EQ(catalog.lookup(message.id), message.translation) << message.id;
        for (const char* missing : {"Not in the catalog", "Fil", "Files", "file", "Cancel "})
            EXPECT_EQ(catalog.lookup(missing), "") << missing;
        // The stored id of a plural entry holds the plural text after a zero
        // byte, so its singular alone is no match.
        EXPECT_EQ(catalog.lookup("%d session"), "");
        // An id counts up to its first zero byte.
        EXPECT_EQ(catalog.lookup(std::string("Help\0trailing", 13)), "Hilfe");
    }
}

TEST(MoCatalog, largeCatalogsFindEveryEntryInEveryForm)
{
    for (const char* form : {"many-hashed.mo", "many-nohash.mo", "many-big.mo"}) {
        SCOPED_TRACE(form);
        MoCatalog catalog;
        ASSERT_TRUE(catalog.open(testCatalogPath(form)));
        for (int n = 1; n <= 2000; ++n) {
            const std::string id = "Message " + std::to_string(n) + " of the station";
            ASSERT_EQ(catalog.lookup(id), "Nachricht " + std::to_string(n)) << id;
        }
        for (int n : {0, 2001, 100000})
            EXPECT_EQ(catalog.lookup("Message " + std::to_string(n) + " of the station"), "");
    }
}

TEST(MoCatalog, searchesByHalvingWhenTheHashTableHasFewerThanThreeSlots)
{
    std::vector<kovatest::CatalogEntry> entries;
    for (int i = 0; i < 100; ++i) {
        char id[16];
        std::snprintf(id, sizeof id, "id%03d", i);
        entries.push_back({id, "t" + std::to_string(i)});
    }
    // Slots that would send a hash probe astray: they must not be read.
    const std::vector<std::vector<std::uint32_t>> smallTables{{}, {7}, {7, 7}};
    for (const auto& slots : smallTables) {
        SCOPED_TRACE(slots.size());
        MoCatalog catalog;
        std::string problem;
        ASSERT_TRUE(catalog.load(buildCatalog(entries, slots), problem)) << problem;
        for (int i = 0; i < 100; ++i)
            EXPECT_EQ(catalog.lookup(entries[i].id), entries[i].translation);
        EXPECT_EQ(catalog.lookup("id"), "");
        EXPECT_EQ(catalog.lookup("id0999"), "");
        EXPECT_EQ(catalog.lookup("\xff"), "");
    }
}

TEST(MoCatalog, foundEntryWithEmptyTranslationGivesEmptyText)
{
    MoCatalog catalog;
    std::string problem;
    ASSERT_TRUE(catalog.load(buildCatalog({{"Empty", ""}, {"Full", "Voll"}}), problem));
    EXPECT_EQ(catalog.lookup("Empty"), "");
    EXPECT_EQ(catalog.lookup("Full"), "Voll");
}

TEST(MoCatalog, pathGetsItsExtensionUnlessItEndsInOneOfAnyCase)
{
    kovatest::TempDir dir;
    const auto bytes = catalogBytes("sample-hashed.mo");
    for (const char* name : {"plain.mo", "upper.MO", "mixed.Mo", ".mo.mo"})
        writeBytes(dir.path() / name, bytes);

    struct Case {
        const char* path;
        bool opens;
    };
    const Case cases[] = {
        {"plain", true},    // ".mo" appended
        {"plain.mo", true}, // used unchanged
        {"upper.MO", true}, // unchanged, not "upper.MO.mo"
        {"mixed.Mo", true},
        {".mo", true},      // too short to count as an extension: ".mo.mo"
        {"upper", false},   // "upper.mo" does not exist
        {"missing", false},
    };
    kovatest::ScopedCwd cwd(dir.path());
    for (const Case& c : cases) {
        MoCatalog catalog;
        EXPECT_EQ(catalog.open(c.path), c.opens) << c.path;
        EXPECT_EQ(catalog.isLoaded(), c.opens) << c.path;
        if (c.opens) {
            EXPECT_EQ(catalog.lookup("Help"), "Hilfe") << c.path;
        }
    }
}

TEST(MoCatalog, filesThatAreNoCatalogAreRefusedQuietly)
{
    kovatest::TempDir dir;
    const auto good = catalogBytes("sample-hashed.mo");
    std::vector<unsigned char> wrongMagic = good;
    wrongMagic[0] ^= 0xff;
    // A header alone is 28 bytes and holds no strings.
    std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 28);
    putWord(headerOnly, kovatest::COUNT_WORD, 0);
    putWord(headerOnly, kovatest::IDS_WORD, 28);
    putWord(headerOnly, kovatest::TRANSLATIONS_WORD, 28);
    putWord(headerOnly, kovatest::HASH_SIZE_WORD, 0);

    writeBytes(dir.path() / "wrong-magic.mo", wrongMagic);
    writeBytes(dir.path() / "header-only.mo", headerOnly);
    writeBytes(dir.path() / "empty.mo", {});
    fs::create_directory(dir.path() / "folder.mo");

    const std::string logBefore = OpenLog::text();
    for (const char* name : {"wrong-magic.mo", "header-only.mo", "empty.mo", "folder.mo", "absent.mo"}) {
        MoCatalog catalog;
        EXPECT_FALSE(catalog.open(dir.file(name))) << name;
        EXPECT_FALSE(catalog.isLoaded()) << name;
        EXPECT_EQ(catalog.lookup("Help"), "") << name;
    }
    EXPECT_EQ(OpenLog::text(), logBefore);

    // One byte more than the header and no strings is a valid, empty catalog.
    headerOnly.push_back(0);
    MoCatalog empty;
    std::string problem;
    EXPECT_TRUE(empty.load(headerOnly, problem)) << problem;
    EXPECT_EQ(empty.lookup("Help"), "");
}

TEST(MoCatalog, damagedCatalogsAreRejectedAtOpenWithALogLine)
{
    const auto good = catalogBytes("sample-hashed.mo");
    const std::uint32_t size = static_cast<std::uint32_t>(good.size());
    const std::uint32_t count = getWord(good, kovatest::COUNT_WORD);
    const std::uint32_t ids = getWord(good, kovatest::IDS_WORD);
    const std::uint32_t translations = getWord(good, kovatest::TRANSLATIONS_WORD);
    const std::uint32_t hashSize = getWord(good, kovatest::HASH_SIZE_WORD);
    const std::uint32_t hashTable = getWord(good, kovatest::HASH_TABLE_WORD);

    struct Damage {
        const char* name;
        std::function<void(std::vector<unsigned char>&)> apply;
    };
    const Damage damages[] = {
        {"truncated to half", [&](auto& b) { b.resize(size / 2); }},
        {"truncated before the tables", [&](auto& b) { b.resize(32); }},
        {"id table past the end", [&](auto& b) { putWord(b, kovatest::IDS_WORD, 0xfffffff0); }},
        {"translation table at the end", [&](auto& b) { putWord(b, kovatest::TRANSLATIONS_WORD, size); }},
        {"more strings than the file holds", [&](auto& b) { putWord(b, kovatest::COUNT_WORD, 0x20000000); }},
        {"id past the end", [&](auto& b) { putWord(b, ids + 8 * (count - 1) + 4, size); }},
        {"translation length past the end", [&](auto& b) { putWord(b, translations + 8, size); }},
        {"length wrapping around", [&](auto& b) {
             putWord(b, ids + 8, 0xffffffff);
             putWord(b, ids + 12, 16);
         }},
        {"hash table past the end", [&](auto& b) { putWord(b, kovatest::HASH_TABLE_WORD, size - 4); }},
        {"hash table larger than the file", [&](auto& b) { putWord(b, kovatest::HASH_SIZE_WORD, 0x40000001); }},
        {"hash slot naming a missing string", [&](auto& b) { putWord(b, hashTable, count + 1); }},
        {"hash table that never ends", [&](auto& b) {
             for (std::uint32_t i = 0; i < hashSize; ++i)
                 putWord(b, hashTable + 4 * i, 1 + i % count);
         }},
    };

    kovatest::TempDir dir;
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        std::vector<unsigned char> bytes = good;
        damage.apply(bytes);

        MoCatalog loaded;
        std::string problem;
        EXPECT_FALSE(loaded.load(bytes, problem));
        EXPECT_FALSE(problem.empty());
        EXPECT_FALSE(loaded.isLoaded());

        const fs::path file = dir.path() / "damaged.mo";
        writeBytes(file, bytes);
        const std::size_t logBefore = OpenLog::text().size();
        MoCatalog opened;
        EXPECT_FALSE(opened.open(file.string()));
        EXPECT_EQ(opened.lookup("Help"), "");
        EXPECT_EQ(OpenLog::text().substr(logBefore),
                  "Message catalog " + file.string() + " rejected: " + problem + "\n");
    }
}

TEST(MoCatalog, oversizedFileIsRefusedBeforeItIsRead)
{
    kovatest::TempDir dir;
    const fs::path file = dir.path() / "huge.mo";
    writeBytes(file, catalogBytes("sample-hashed.mo"));
    fs::resize_file(file, MoCatalog::MAX_FILE_SIZE + 1); // sparse: costs no disk
    const std::size_t logBefore = OpenLog::text().size();
    MoCatalog catalog;
    EXPECT_FALSE(catalog.open(file.string()));
    EXPECT_EQ(OpenLog::text().substr(logBefore),
              "Message catalog " + file.string() + " rejected: the file is too large\n");
}

TEST(MoCatalog, hashProbeThatCirclesWithoutReachingAnEmptySlotEnds)
{
    // Four slots: "a" hashes to 97, so its probe starts at slot 1 and steps
    // by 2, visiting slots 1 and 3 only, while the one empty slot is 0.
    MoCatalog catalog;
    std::string problem;
    ASSERT_TRUE(catalog.load(buildCatalog({{"zzz", "Z"}}, {0, 1, 1, 1}), problem)) << problem;
    EXPECT_EQ(catalog.lookup("a"), "");
}

TEST(MoCatalog, keepsTheCatalogsOwnEncoding)
{
    MoCatalog japanese;
    ASSERT_TRUE(japanese.open(testCatalogPath("ja")));
    EXPECT_EQ(japanese.lookup("File"), "\x83\x74\x83\x40\x83\x43\x83\x8b"); // code page 932
    MoCatalog polish;
    ASSERT_TRUE(polish.open(testCatalogPath("pl")));
    EXPECT_EQ(polish.lookup("Error"), "B\xb3\xb9" "d"); // code page 1250
}
