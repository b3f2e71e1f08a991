#include "gettext/Gettext.h"

#include "CatalogBuilder.h"
#include "gettext/MoCatalog.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using kovatest::testCatalogPath;

void writeCatalog(const fs::path& path, const std::vector<kovatest::CatalogEntry>& entries)
{
    const auto bytes = kovatest::buildCatalog(entries);
    kovatest::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// Tests that load a language into the global object leave it empty again.
class GlobalCatalog : public ::testing::Test {
protected:
    void TearDown() override { Gettext::instance().setCatalog(""); }
};

} // namespace

TEST(Gettext, languageCodeAndCodePageFollowTheCatalogPath)
{
    struct Case {
        const char* path;
        const char* code;
        unsigned codePage;
    };
    const Case cases[] = {
        {"ja", "ja", 932},
        {"/station/ja.mo", "ja", 932},
        {"/station/ja.MO", "ja", 932},
        {"/station/ja", "ja", 932},
        {"ko.mo", "ko", 949},
        {"zh.mo", "zh", 936},
        {"ru.mo", "ru", 1251},
        {"pl.mo", "pl", 1250},
        {"en.mo", "en", 1252},
        {"de.mo", "de", 1252},
        {"/station/JA.mo", "JA", 1252}, // codes compare case-sensitively
        {"xx.mo", "xx", 1252},
        {"", "", 1252},
        {"j", "", 1252},
        {".mo", "", 1252},
        {"a.mo", "a", 1252},
        {"catalog_pl", "pl", 1250},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Gettext::languageCodeFromPath(c.path), c.code) << c.path;
        EXPECT_EQ(Gettext::codePageFor(Gettext::languageCodeFromPath(c.path)), c.codePage) << c.path;
        Gettext gettext;
        gettext.setCatalog(c.path);
        EXPECT_EQ(gettext.languageCode(), c.code) << c.path;
        EXPECT_EQ(gettext.codePage(), c.codePage) << c.path;
        EXPECT_EQ(gettext.catalogPath(), c.path);
    }
}

TEST(Gettext, contextTagsOfOneLetterAndUpToTwoMoreCharactersAreStripped)
{
    struct Case {
        const char* msgid;
        const char* looked;
    };
    const Case cases[] = {
        {"a|Text", "Text"},
        {"a12|Text", "Text"},
        {"ab|Text", "Text"},
        {"Z9|Text", "Text"},
        {"abc|Text", "Text"},
        {"abcd|Text", "abcd|Text"},
        {"1a|Text", "1a|Text"},
        {"|Text", "|Text"},
        {"a-|Text", "a-|Text"},
        {"\xc3\xa4|Text", "\xc3\xa4|Text"},
        {"a|b|Text", "b|Text"},
        {"a|", ""},
        {"Text", "Text"},
        {"a", "a"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Gettext::stripContext(c.msgid), c.looked) << c.msgid;
}

TEST(Gettext, fallsBackToTheMsgidForMissingAndEmptyTranslations)
{
    kovatest::TempDir dir;
    writeCatalog(dir.path() / "de.mo", {{"Empty", ""}, {"File", "Datei"}});
    Gettext gettext;
    ASSERT_TRUE(gettext.setCatalog(dir.file("de.mo")));
    EXPECT_EQ(gettext.lookup("File", 1252), L"Datei");
    EXPECT_EQ(gettext.lookup("Empty", 1252), L"Empty");
    EXPECT_EQ(gettext.lookup("Not there", 1252), L"Not there");
    EXPECT_EQ(gettext.lookup("", 1252), L"");
    EXPECT_EQ(gettext.lookup("File", 99999), L"File"); // no such code page
    // The station's own narrow text is UTF-8, whatever the language's page.
    EXPECT_EQ(gettext.lookup("Gr\xc3\xbc\xc3\x9f" "e", 932), L"Gr\u00fc\u00dfe");
}

TEST(Gettext, withoutACatalogEveryTextPassesThrough)
{
    Gettext gettext;
    EXPECT_FALSE(gettext.hasCatalog());
    EXPECT_EQ(gettext.lookup("New session", 1252), L"New session");
    EXPECT_EQ(gettext.lookup("\xc3\xa9t\xc3\xa9", 1250), L"\u00e9t\u00e9");
    EXPECT_EQ(gettext.lookup("", 1252), L"");
}

TEST(Gettext, failedLoadKeepsTheLanguageCodeAndDropsTheOldCatalog)
{
    kovatest::TempDir dir;
    writeCatalog(dir.path() / "de.mo", {{"File", "Datei"}});
    Gettext gettext;
    ASSERT_TRUE(gettext.setCatalog(dir.file("de.mo")));
    EXPECT_FALSE(gettext.setCatalog(dir.file("ru.mo")));
    EXPECT_FALSE(gettext.hasCatalog());
    EXPECT_EQ(gettext.languageCode(), "ru");
    EXPECT_EQ(gettext.codePage(), 1251u);
    EXPECT_EQ(gettext.lookup("File", 1251), L"File");
}

TEST_F(GlobalCatalog, translatesJapaneseThroughItsCodePage)
{
    Gettext& global = Gettext::instance();
    ASSERT_TRUE(global.setCatalog(testCatalogPath("ja.mo")));
    EXPECT_TRUE(global.isEastAsian());
    EXPECT_EQ(Gettext::translate("File"), L"\u30d5\u30a1\u30a4\u30eb");
    EXPECT_EQ(Gettext::translate("m|File"), L"\u30d5\u30a1\u30a4\u30eb");
    EXPECT_EQ(Gettext::translate("m12|New session"), L"\u65b0\u3057\u3044\u30bb\u30c3\u30b7\u30e7\u30f3");
    EXPECT_EQ(Gettext::translateString(std::string("ab|Cancel")), L"\u30ad\u30e3\u30f3\u30bb\u30eb");
    EXPECT_EQ(Gettext::translate("abcd|File"), L"abcd|File");
    EXPECT_EQ(Gettext::translate("Help"), L"Help");
    EXPECT_EQ(Gettext::translate(""), L"");
    EXPECT_EQ(Gettext::translate(nullptr), L"");
}

TEST_F(GlobalCatalog, translatesPolishThroughItsCodePage)
{
    ASSERT_TRUE(Gettext::instance().setCatalog(testCatalogPath("pl")));
    EXPECT_FALSE(Gettext::instance().isEastAsian());
    EXPECT_EQ(Gettext::translate("Error"), L"B\u0142\u0105d");
    EXPECT_EQ(Gettext::translateString("c|Compression depth"), L"G\u0142\u0119boko\u015b\u0107 uci\u015bni\u0119\u0107");
    // The same bytes read as the Western page are a different text.
    EXPECT_NE(Gettext::instance().lookup("Error", 1252), L"B\u0142\u0105d");
}

TEST_F(GlobalCatalog, upperCaseLanguageCodeSelectsTheWesternPage)
{
    kovatest::TempDir dir;
    fs::copy_file(testCatalogPath("ja.mo"), dir.path() / "ja.MO");
    fs::copy_file(testCatalogPath("ja.mo"), dir.path() / "JA.mo");

    ASSERT_TRUE(Gettext::instance().setCatalog(dir.file("ja.MO")));
    EXPECT_EQ(Gettext::translate("File"), L"\u30d5\u30a1\u30a4\u30eb");

    ASSERT_TRUE(Gettext::instance().setCatalog(dir.file("JA.mo")));
    EXPECT_FALSE(Gettext::instance().isEastAsian());
    const std::wstring western = Gettext::translate("File");
    EXPECT_FALSE(western.empty());
    EXPECT_NE(western, L"\u30d5\u30a1\u30a4\u30eb");
    EXPECT_NE(western, L"File");

    // The bare code names the catalog in the working folder.
    kovatest::ScopedCwd cwd(dir.path());
    fs::copy_file(testCatalogPath("ja.mo"), dir.path() / "ja.mo");
    ASSERT_TRUE(Gettext::instance().setCatalog("ja"));
    EXPECT_EQ(Gettext::instance().languageCode(), "ja");
    EXPECT_EQ(Gettext::translate("File"), L"\u30d5\u30a1\u30a4\u30eb");
}

TEST(Gettext, stationEnglishCatalogGivesEveryTextBackUnchanged)
{
    const std::string path = std::string(KOVA_STATION_CATALOGS) + "/en.mo";
    Gettext gettext;
    ASSERT_TRUE(gettext.setCatalog(path));
    EXPECT_EQ(gettext.languageCode(), "en");
    EXPECT_EQ(gettext.codePage(), 1252u);
    EXPECT_EQ(gettext.lookup("&File", gettext.codePage()), L"&File");

    MoCatalog catalog;
    ASSERT_TRUE(catalog.open(path));
    ASSERT_GT(catalog.count(), 1u);
    const std::string line1 = " (LINE 1)";
    const std::string line2 = " (LINE 2)";
    for (std::uint32_t i = 0; i < catalog.count(); ++i) {
        const std::string id(catalog.messageId(i));
        if (id.empty())
            continue; // the header entry
        if (id.ends_with(line2))
            continue; // with its first line below
        if (!id.ends_with(line1)) {
            EXPECT_EQ(catalog.lookup(id), id);
            continue;
        }
        // A caption of two lines: the lines together give the name back, a
        // one-word name with a blank second line.
        const std::string name = id.substr(0, id.size() - line1.size());
        const std::string first = catalog.lookup(id);
        const std::string second = catalog.lookup(name + line2);
        EXPECT_EQ(second == " " ? first : first + " " + second, name) << id;
    }
}
