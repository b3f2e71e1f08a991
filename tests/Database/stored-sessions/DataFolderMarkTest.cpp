// The mark of the records a data folder belongs to: what it reads back, what
// counts as damaged, and a claim that another station made first.

#include "Database/stored-sessions/DataFolderMark.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string IDENTITY = "0123456789abcdef0123456789abcdef";
const std::string WELL_FORMED = "Kova CPR data folder\nrecords=" + IDENTITY
                                + "\ndatabase=PostgreSQL database kovacpr on /run/postgresql\nclaimed=1717243200\n";

TEST(DataFolderMark, aWrittenMarkReadsBackAsItWas)
{
    const auto mark = DataFolderMark::parse(WELL_FORMED);
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->records, IDENTITY);
    EXPECT_EQ(mark->database, "PostgreSQL database kovacpr on /run/postgresql");
    EXPECT_EQ(mark->claimed, 1717243200);
    EXPECT_EQ(mark->text(), WELL_FORMED);
    DataFolderMark hostile{IDENTITY, "a\nclaimed=1\r\x1b", 7};
    EXPECT_EQ(DataFolderMark::parse(hostile.text())->database, "a?claimed=1??") << "a database text is one line";
}

TEST(DataFolderMark, anythingElseIsNoMark)
{
    auto replaced = [](const std::string& from, const std::string& to) {
        std::string text = WELL_FORMED;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::pair<const char*, std::string> damaged[] = {
        {"empty", ""},
        {"no last line end", WELL_FORMED.substr(0, WELL_FORMED.size() - 1)},
        {"more after it", WELL_FORMED + "x"},
        {"another heading", replaced("Kova CPR", "Kova")},
        {"lines swapped", replaced("records=", "database=")},
        {"short identity", replaced(IDENTITY, IDENTITY.substr(1))},
        {"upper-case identity", replaced("abcdef0123", "ABCDEF0123")},
        {"a path for an identity", replaced(IDENTITY, "../../outside/victim0000000000000")},
        {"control character", replaced("kovacpr on", "kovacpr\x01on")},
        {"carriage return", replaced("\nclaimed", "\r\nclaimed")},
        {"negative claim", replaced("1717243200", "-1")},
        {"leading zero", replaced("1717243200", "01717243200")},
        {"claim beyond year 9999", replaced("1717243200", "999999999999")},
        {"claim with blank", replaced("1717243200", "1717243200 ")},
        {"no claim", replaced("1717243200", "")},
        {"too long", replaced("/run/postgresql", std::string(5000, 'x'))},
    };
    for (const auto& [what, bytes] : damaged)
        EXPECT_FALSE(DataFolderMark::parse(bytes)) << what;
}

TEST(DataFolderMark, aClaimMadeFirstElsewhereIsReadNotReplaced)
{
    kovatest::TempDir folder;
    DataFolderMark first{IDENTITY, "first", 0};
    std::string reason;
    ASSERT_EQ(DataFolderMark::claim(folder.path().string(), first, reason), DataFolderMark::Reading::Made) << reason;
    struct stat info {};
    ASSERT_EQ(::stat((folder.path() / DataFolderMark::FILE_NAME).c_str(), &info), 0);
    EXPECT_LE(first.claimed, info.st_mtime) << "the claim's moment is not later than the file system saw it";
    EXPECT_GT(first.claimed, 0);

    DataFolderMark second{std::string(32, 'f'), "second", 0};
    EXPECT_EQ(DataFolderMark::claim(folder.path().string(), second, reason), DataFolderMark::Reading::Read);
    EXPECT_EQ(second.records, IDENTITY);
    EXPECT_EQ(second.database, "first");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary of a claim stays";
}

} // namespace
