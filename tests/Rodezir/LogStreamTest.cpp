#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

class LogStreamTest : public ::testing::Test {
protected:
    kovatest::TempDir dir;
    kovatest::ScopedCwd cwd{dir.path()};

    void TearDown() override { LogStream::destroy(); }
    std::string log() const { return kovatest::readFile(dir.path() / "errors.txt"); }
};

TEST_F(LogStreamTest, headerThenReportsThenEof)
{
    kovatest::writeFile(dir.path() / "errors.txt", "old content of an earlier run\n");
    LogStream::headerText = "Dec 10 2026 12:00:00 3.1.3 : Kova CPR Software";
    LogStream::instance() << "value " << 42 << " " << true << " " << 2.5f << LogStream::endl;
    LogStream::headerText.clear();
    LogStream::destroy();

    auto text = lines(log());
    ASSERT_GE(text.size(), 7u);
    EXPECT_EQ(text[0], std::string(75, '-'));
    EXPECT_EQ(text[1].rfind("Date:", 0), 0u);
    EXPECT_NE(text[1].find(" Time:"), std::string::npos);
    EXPECT_NE(text[1][5], ' ');
    EXPECT_EQ(text[2].rfind("Linux", 0), 0u);
    EXPECT_EQ(text[3], std::string(75, '-'));
    EXPECT_EQ(text[4], "Dec 10 2026 12:00:00 3.1.3 : Kova CPR Software");
    EXPECT_EQ(text[5], std::string(75, '-'));
    EXPECT_EQ(text[6], "value 42 true 2.500000");
    EXPECT_EQ(text.back(), "-eof-");
    EXPECT_EQ(log().find("old content"), std::string::npos) << "each start truncates the log";
}

TEST_F(LogStreamTest, wideUnitsAbove255BecomeQuestionMarks)
{
    LogStream::instance() << std::wstring(L"A\u00e9\u20acB") << L'\u4e2d' << "" << "\n";
    LogStream::destroy();
    auto text = lines(log());
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text[text.size() - 2], std::string("A\xe9?B?"));
}

TEST_F(LogStreamTest, assertionWritesItsLineAndCarriesOn)
{
    int reached = 0;
    KOVA_ASSERT(1 + 1 == 3);
    reached = 1;
    KOVA_ASSERT(reached == 1);
    LogStream::destroy();
    EXPECT_EQ(reached, 1);
    const std::string expected = std::string("Assert failed in ") + __FILE__ + " (";
    auto text = log();
    auto at = text.find(expected);
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(text.find(") : 1 + 1 == 3\n", at), std::string::npos);
    EXPECT_EQ(text.find("reached == 1"), std::string::npos);
}

TEST_F(LogStreamTest, reportAfterDestructionAppendsWithWarning)
{
    LogStream::instance() << "first run\n";
    LogStream::destroy();
    LogStream::instance() << "late report\n";
    LogStream::destroy();
    auto text = log();
    EXPECT_NE(text.find("first run\n-eof-\n"), std::string::npos);
    EXPECT_NE(text.find("Warning: the LogStream has been destroyed once\nlate report\n"), std::string::npos);
}

TEST_F(LogStreamTest, aLogThatCannotBeOpenedDropsEveryReport)
{
    std::filesystem::create_directory(dir.path() / "errors.txt");
    LogStream::instance() << "nowhere to go " << 1 << LogStream::endl;
    EXPECT_FALSE(LogStream::instance().isOpen());
    LogStream::destroy();
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "errors.txt"));
}

// A file name may hold any byte but "/" and NUL: inside a report, line
// breaks and other control characters show as escapes, and each report stays
// one line, ended in the file as soon as it is written.
TEST_F(LogStreamTest, controlCharactersInAReportShowEscapedOnItsOneLine)
{
    struct Case {
        std::string name;
        std::string shown;
    };
    const std::vector<Case> cases{
        {"fake\nStart-up: forged line.dat", "fake\\nStart-up: forged line.dat"},
        {"carriage\rreturn", "carriage\\rreturn"},
        {"\x1b[31mred\x1b[0m", "\\x1b[31mred\\x1b[0m"},
        {"tab\there", "tab\\there"},
        {"bell\a del\x7f nul-free\x01", "bell\\x07 del\\x7f nul-free\\x01"},
        {"csi\xc2\x9b" "2J", "csi\\u009b2J"},
        {"ends in a break\n", "ends in a break\\n"},
        {"\n\nstarts with two", "\\n\\nstarts with two"},
        {"Ærø \xc3\xa9t\xc3\xa9", "Ærø \xc3\xa9t\xc3\xa9"},
    };
    for (const Case& c : cases) {
        LogStream::instance() << "Start-up: " << c.name << " set aside: " << 3 << "\n";
        const std::string text = log();
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n') << "the report's line is ended at once";
        EXPECT_EQ(lines(text).back(), "Start-up: " + c.shown + " set aside: 3");
    }
    LogStream::instance() << L"wide\nname\t" << L'\x1b' << LogStream::endl;
    LogStream::destroy();
    auto text = lines(log());
    ASSERT_GE(text.size(), cases.size() + 2);
    EXPECT_EQ(text[text.size() - 2], "wide\\nname\\t\\x1b");
    EXPECT_EQ(std::count_if(text.begin(), text.end(), [](const std::string& line) { return line.rfind("Start-up: ", 0) == 0; }),
              static_cast<long>(cases.size()));
}

TEST_F(LogStreamTest, aReasonThatBringsItsOwnLineEndStillGivesOneLine)
{
    // A database's reason and the system's error text end in a line end; the
    // caller adds its own, or not. Several records of a reason share the line.
    LogStream::instance() << "Database error: " << std::string("no such table: Session\n") << "\n";
    LogStream::instance() << "Could not access file 'x' error: " << errorText(2) << "\n";
    LogStream::instance() << "DatabasePatch: " << "first record\nsecond record\n";
    // A report that forgot its line end does not run into the next.
    LogStream::instance() << "no line end";
    KOVA_ASSERT(false);
    LogStream::destroy();
    // Appending after the end, a line end taken back again.
    LogStream::instance() << "late " << std::string("name\n") << "report\n";
    LogStream::destroy();

    auto text = lines(log());
    const auto first = std::find(text.begin(), text.end(), "Database error: no such table: Session");
    ASSERT_NE(first, text.end()) << log();
    ASSERT_GE(text.end() - first, 6);
    EXPECT_EQ(first[1], "Could not access file 'x' error: No such file or directory");
    EXPECT_EQ(first[2], "DatabasePatch: first record\\nsecond record");
    EXPECT_EQ(first[3], "no line end");
    EXPECT_EQ(first[4].rfind("Assert failed in ", 0), 0u) << first[4];
    EXPECT_EQ(first[5], "-eof-");
    EXPECT_EQ(text[text.size() - 2], "late name\\nreport");
    EXPECT_EQ(text.back(), "-eof-");
    EXPECT_EQ(std::count(text.begin(), text.end(), ""), 0) << "no empty lines";
}

TEST(ErrorText, unknownCodeNamesTheNumber)
{
    EXPECT_EQ(errorText(987654), "Unknown error: 987654");
    EXPECT_EQ(errorText(2), "No such file or directory\n");
    EXPECT_EQ(errorTextWide(2), L"No such file or directory\n");
    EXPECT_EQ(errorTextWide(987654), L"Unknown error: 987654");
}

} // namespace
