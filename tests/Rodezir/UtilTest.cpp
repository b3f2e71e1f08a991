// Command-line options, time values, aspect fitting, files and tool-tip texts.
#include "Rodezir/LogStream.h"
#include "Rodezir/ToolTipText.h"
#include "Rodezir/Util.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

using namespace kova;

struct OptionCase {
    const char* commandLine;
    const char* key;
    const char* expected;
};

TEST(CommandLineOption, findsQuotedAndBareValues)
{
    const OptionCase cases[] = {
        {"KOVA_CPR xlang:de demo", "lang:", "de"}, // the key matches inside a longer word
        {"KOVA_CPR lang:\"/opt/kova cpr/da.mo\" demo", "lang:", "/opt/kova cpr/da.mo"},
        {"KOVA_CPR lang:\"/opt/kova cpr/da.mo", "lang:", "/opt/kova cpr/da.mo"}, // unclosed quote runs to the end
        {"KOVA_CPR demo", "lang:", "en"},
        {"KOVA_CPR lang:da demo", "lang:", "da"},
        {"KOVA_CPR lang:da lang:fi", "lang:", "da"},
        {"KOVA_CPR commdelay:250 demo", "commdelay:", "250"},
        {"KOVA_CPR commdelay:", "commdelay:", ""},
        {"KOVA_CPR LANG:da", "lang:", "en"}, // case-sensitive
        {"KOVA_CPR lang:da lang:\"fi\"", "lang:", "fi"}, // a quoted value wins over an earlier bare one
    };
    for (const auto& c : cases)
        EXPECT_EQ(getCommandLineOption(c.commandLine, c.key, "en"), c.expected) << c.commandLine;
    EXPECT_EQ(getCommandLineOption(std::wstring(L"x lang:\"\u00e6 \u00f8\" y"), L"lang:", L"en"), L"\u00e6 \u00f8");
}

TEST(TimeValues, unixTimeToFileTimeCountsFrom1601)
{
    EXPECT_EQ(unixTimeToFileTime(0), 116444736000000000LL);
    EXPECT_EQ(unixTimeToFileTime(1), 116444736010000000LL);
    EXPECT_EQ(unixTimeToFileTime(-11644473600LL), 0);
}

TEST(TimeValues, unixTimeToSystemTimeGivesTheUtcCalendar)
{
    struct Case {
        std::int64_t seconds;
        SYSTEMTIME expected;
    };
    const Case cases[] = {
        {0, {1970, 1, 4, 1, 0, 0, 0, 0}},
        {-1, {1969, 12, 3, 31, 23, 59, 59, 0}},
        {951782400 + 3723, {2000, 2, 2, 29, 1, 2, 3, 0}},
        {1382617800, {2013, 10, 4, 24, 12, 30, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unixTimeToSystemTime(c.seconds), c.expected) << c.seconds;
}

TEST(AspectFitting, fitsInsideAndCoversTheBox)
{
    struct Case {
        int boxWidth, boxHeight, aspectWidth, aspectHeight;
        SIZE fit, cover;
    };
    const Case cases[] = {
        {200, 100, 4, 3, {133, 100}, {200, 150}},
        {100, 200, 1, 1, {100, 100}, {200, 200}},
        {300, 150, 2, 1, {300, 150}, {300, 150}},
        {120, 80, 0, 5, {120, 80}, {120, 80}},
        {120, 80, 5, 0, {120, 80}, {120, 80}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitAspect(c.boxWidth, c.boxHeight, c.aspectWidth, c.aspectHeight), c.fit) << c.boxWidth;
        EXPECT_EQ(coverAspect(c.boxWidth, c.boxHeight, c.aspectWidth, c.aspectHeight), c.cover) << c.boxWidth;
    }
    EXPECT_EQ(ceilToInt(1.2), 2);
    EXPECT_EQ(ceilToInt(-1.2), -1);
    EXPECT_EQ(ceilToInt(3.0), 3);
}

class FileTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void TearDown() override { LogStream::destroy(); }
    std::string log()
    {
        LogStream::destroy();
        return kovatest::readFile(dir.path() / "errors.txt");
    }
};

TEST_F(FileTest, fileExistsIgnoresOneTrailingSeparator)
{
    const std::string folder = dir.file("records");
    std::filesystem::create_directory(folder);
    kovatest::writeFile(dir.path() / "session.dat", "x");
    EXPECT_TRUE(fileExists(folder));
    EXPECT_TRUE(fileExists(folder + "/"));
    EXPECT_TRUE(fileExists(folder + "\\"));
    EXPECT_TRUE(fileExists(dir.file("session.dat")));
    EXPECT_FALSE(fileExists(dir.file("missing.dat")));
    EXPECT_FALSE(fileExists(""));
}

TEST_F(FileTest, removeReadOnlyMakesTheFileWritableAndReportsOnlyWhenAsked)
{
    const std::string quiet = dir.file("quiet.dat");
    const std::string loud = dir.file("loud.dat");
    for (const auto& path : {quiet, loud}) {
        kovatest::writeFile(path, "x");
        ::chmod(path.c_str(), 0444);
    }
    removeReadOnly(quiet, false);
    removeReadOnly(std::wstring(loud.begin(), loud.end()), true);
    removeReadOnly(dir.file("missing.dat"), true);

    struct stat status {};
    ASSERT_EQ(::stat(quiet.c_str(), &status), 0);
    EXPECT_TRUE(status.st_mode & S_IWUSR);
    ASSERT_EQ(::stat(loud.c_str(), &status), 0);
    EXPECT_TRUE(status.st_mode & S_IWUSR);
    const std::string text = log();
    EXPECT_EQ(text.find("quiet.dat"), std::string::npos);
    EXPECT_NE(text.find("Removed read-only attribute on " + loud), std::string::npos);
    EXPECT_EQ(text.find("missing.dat"), std::string::npos);
}

TEST(ToolTipText, copiesIntoItsOwnBufferWithinTheLimits)
{
    ToolTipTextRequest narrow;
    narrow.code = TTN_NEEDTEXTA;
    {
        // 1022 ASCII bytes and a two-byte letter: the letter would end past 1023 bytes.
        const std::wstring text = std::wstring(1022, L'a') + L"\u00fc";
        setToolTipText(text, narrow);
    }
    ASSERT_NE(narrow.text, nullptr);
    EXPECT_EQ(std::string(narrow.text), std::string(1022, 'a'));

    setToolTipText(L"Metronome \u00fcber", narrow);
    EXPECT_EQ(std::string(narrow.text), "Metronome \xc3\xbc" "ber");

    ToolTipTextRequest wide;
    wide.code = TTN_NEEDTEXTW;
    setToolTipText(std::wstring(600, L'x'), wide);
    ASSERT_NE(wide.wideText, nullptr);
    EXPECT_EQ(std::wstring(wide.wideText), std::wstring(511, L'x'));
    EXPECT_EQ(wide.text, nullptr);
}

} // namespace
