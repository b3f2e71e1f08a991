// Where the online help finds a topic's page: the language's own help, else
// the English one, the start page for a topic outside the table; the pages
// installed with the program; the WinHelp file chosen at start-up.

#include "TempDir.h"
#include "app/shell/HelpTopics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// The help installed with the program.
fs::path installedHelp() { return kovatest::sourceDir() / "resources" / "help"; }

void page(const fs::path& path)
{
    fs::create_directories(path.parent_path());
    kovatest::writeFile(path, "<html><body>" + path.filename().string() + "</body></html>");
}

} // namespace

TEST(HelpTopics, aTopicOpensItsPageInTheLanguagesHelpElseTheEnglishOne)
{
    kovatest::TempDir station;
    const fs::path en = station.path() / "kovacpr-en";
    const fs::path de = station.path() / "kovacpr-de";
    page(en / "index.htm");
    page(en / "kovacpr_en" / "IDH_HELP_START_SESSION.htm");
    page(en / "kovacpr_en" / "Shortcut_keys.htm");
    page(de / "index.htm");
    page(de / "kovacpr_de" / "Shortcut_keys.htm");
    struct Case {
        std::string language;
        int topic;
        fs::path expected;
    };
    for (const Case& c : {
             Case{"de", 10001, en / "kovacpr_en" / "IDH_HELP_START_SESSION.htm"},
             Case{"de", 10019, de / "kovacpr_de" / "Shortcut_keys.htm"},
             Case{"fr", 10019, en / "kovacpr_en" / "Shortcut_keys.htm"},
             Case{"en", 9999, en / "index.htm"},
             Case{"en", 10020, en / "index.htm"},
             Case{"de", 10016, de / "index.htm"},
             // A code that is no plain language code never leaves the station folder.
             Case{"../kovacpr-de", 10019, en / "kovacpr_en" / "Shortcut_keys.htm"},
         })
        EXPECT_EQ(HelpTopics::locate(station.path(), c.language, c.topic), c.expected)
            << c.language << " " << c.topic;

    kovatest::TempDir empty;
    EXPECT_TRUE(HelpTopics::locate(empty.path(), "en", 10001).empty());
}

TEST(HelpTopics, theInstalledHelpHasAPageForEveryTopic)
{
    for (int topic = HelpTopics::FIRST_TOPIC; topic <= HelpTopics::LAST_TOPIC; ++topic)
        EXPECT_TRUE(fs::is_regular_file(installedHelp() / "kovacpr-en" / "kovacpr_en" / HelpTopics::page(topic)))
            << topic;
    EXPECT_TRUE(fs::is_regular_file(installedHelp() / "kovacpr-en" / HelpTopics::START_PAGE));
}

TEST(HelpTopics, theWinHelpFileIsTheLanguagesWhenThereElseTheEnglishOne)
{
    kovatest::TempDir station;
    kovatest::writeFile(station.path() / "kovacpr_de.hlp", "");
    EXPECT_EQ(HelpTopics::helpFileName(station.path(), "de"), "kovacpr_de.hlp");
    EXPECT_EQ(HelpTopics::helpFileName(station.path(), "fr"), "kovacpr_en.hlp");
}
