// The connection to "kovacpr", the retries of Open, the error box and the
// small text helpers.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Rodezir/gstringUtil.h"

using platform::MB_ICONWARNING;
using platform::MB_OK;

namespace {
const std::wstring NO_DATABASE =
    L"The database connection to ODBC name 'kovacpr' could not be established.\n"
    L"Your installation is incomplete or broken.\n"
    L"Please try to correct the problem yourself by reinstalling the application,\n"
    L"or contact support for further help.";
} // namespace

using Connection = RecordsFixture;

TEST_F(Connection, opensTheDataSourceWithoutAMessage)
{
    openRecords();
    EXPECT_TRUE(theDatabase.isOpen());
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(Connection, missingDataSourceTellsOnceAndLeavesEveryTableClosed)
{
    registerDataSource(false);
    openDatabase();
    EXPECT_FALSE(databaseOpen);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, NO_DATABASE);
    EXPECT_EQ(asker.asked[0].style, MB_OK | MB_ICONWARNING);

    ScenarioTestTable table(theDatabase);
    table.open("");
    EXPECT_FALSE(table.isOpen);
    EXPECT_FALSE(TablePool::contains(&table));
    EXPECT_EQ(table.countKey("Basic"), 0);
    RecordingComboList combo;
    combo.items = {"Basic"};
    combo.selected = "Basic";
    table.fillComboBox(combo, "name", "");
    EXPECT_TRUE(combo.items.empty());
    EXPECT_EQ(combo.clears, 1);

    // Writes do nothing, and say nothing either.
    DBUtil::update(theDatabase, "Scenario", "Name", "Basic", "Advanced");
    DBUtil::remove(theDatabase, "Scenario", "Name", "Basic");
    EXPECT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(clock.sleeps(), 0);
}

// The data source is there, its server is not: the message names what failed
// instead of blaming the installation.
TEST_F(Connection, aServerThatDoesNotAnswerAtStartUpIsNamedAsTheFailure)
{
    const std::string nowhere = folder.file("no server here");
    kovatest::writeFile(odbcIniPath(), "[kovacpr]\nDriver=PostgreSQL ANSI\nServername=" + nowhere
                                           + "\nPort=5432\nDatabase=kovacpr\nUsername=postgres\n");
    openDatabase();
    EXPECT_FALSE(databaseOpen);
    ASSERT_EQ(asker.asked.size(), 1u);
    const std::wstring& told = asker.asked[0].text;
    EXPECT_EQ(told.find(L"incomplete or broken"), std::wstring::npos) << told;
    EXPECT_NE(told.find(L"The database connection to ODBC name 'kovacpr' could not be established:\n"),
              std::wstring::npos)
        << told;
    EXPECT_NE(told.find(L"connection to server on socket"), std::wstring::npos) << told;
    EXPECT_NE(told.find(toWide(nowhere)), std::wstring::npos) << told;
    EXPECT_EQ(asker.asked[0].style, MB_OK | MB_ICONWARNING);
}

// A station's own SQLite database that cannot be opened (its folder gone)
// has no server to blame: the installation is at fault, as ever.
TEST_F(Connection, anOwnDatabaseThatCannotBeOpenedBlamesTheInstallationNotAServer)
{
    const std::string gone = folder.file("no such folder") + "/kovacpr.db";
    kovatest::writeFile(odbcIniPath(), "[kovacpr]\nDriver=SQLite3\nDatabase=" + gone + "\n");
    openDatabase();
    EXPECT_FALSE(databaseOpen);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, NO_DATABASE);
    EXPECT_EQ(asker.asked[0].style, MB_OK | MB_ICONWARNING);
}

TEST_F(Connection, openGivesUpOnAMissingTableAfterThreeTriesWithASecondBetween)
{
    openRecords();
    ScenarioTestTable table(theDatabase);
    EXPECT_FALSE(DBUtil::Open(table, "NoSuchTable"));
    EXPECT_FALSE(table.isCursorOpen());
    EXPECT_EQ(clock.sleeps(), 3);
    EXPECT_EQ(clock.sleptTotal(), 3000u);
    EXPECT_TRUE(asker.asked.empty());

    EXPECT_TRUE(DBUtil::Open(table, "Scenario"));
    EXPECT_EQ(clock.sleeps(), 3);
}

TEST_F(Connection, transactionIsUndoneUnlessCommittedAndAFailedInnerPartSpoilsTheWhole)
{
    openRecords();
    const std::string insert = "INSERT INTO \"Person\" (\"Name\") VALUES (?)";
    {
        DatabaseTransaction transaction(theDatabase);
        theDatabase.execute(insert, {std::string("Left uncommitted")});
    }
    {
        DatabaseTransaction transaction(theDatabase);
        theDatabase.execute(insert, {std::string("Committed")});
        transaction.commit();
    }
    {
        DatabaseTransaction outer(theDatabase);
        theDatabase.execute(insert, {std::string("Outer part")});
        {
            DatabaseTransaction inner(theDatabase);
            theDatabase.execute(insert, {std::string("Inner part")});
        }
        EXPECT_THROW(outer.commit(), DatabaseError);
    }
    EXPECT_EQ(column("Person", "Name"), std::vector<std::string>{"Committed"});
}

TEST(DatabaseText, errorBoxFramesTheDriverTextAndNamesAnUnknownError)
{
    platform::RecordingMessageAsker asker;
    platform::ScopedMessageAsker scope(asker);
    DBUtil::showError("");
    DBUtil::showError("no such table: Persons\n");
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].text,
              L"An unexpected error occured while accessing the database:\n\nUnknown error\n"
              L"\nPlease try to correct the problem yourself, or contact support for further help.");
    EXPECT_EQ(asker.asked[1].text,
              L"An unexpected error occured while accessing the database:\n\nno such table: Persons\n"
              L"\nPlease try to correct the problem yourself, or contact support for further help.");
    EXPECT_EQ(asker.asked[0].style, MB_OK | MB_ICONWARNING);
}

TEST(DatabaseText, trimAndQuote)
{
    const std::pair<std::string, std::string> trims[] = {
        {"", ""}, {"  \t\r\n", ""}, {" Anna Berg \n", "Anna Berg"}, {"Anna  Berg", "Anna  Berg"}, {"\tx", "x"},
    };
    for (const auto& [text, expected] : trims)
        EXPECT_EQ(trim(text), expected) << text;

    const std::pair<std::string, std::string> quotes[] = {
        {"", ""}, {"O'Brien", "O''Brien"}, {"''", "''''"}, {"x' OR '1'='1", "x'' OR ''1''=''1"}, {"\"a\"", "\"a\""},
    };
    for (const auto& [text, expected] : quotes)
        EXPECT_EQ(DBUtil::quote(text), expected) << text;
}

TEST(DatabaseText, namesMatchIgnoringCaseInAnyScriptAndOtherKeysExactly)
{
    EXPECT_TRUE(textMatches("ERC 2010", "erc 2010", TextMatch::IgnoringCase));
    EXPECT_TRUE(textMatches("Ärztin Åsa", "äRZTIN åSA", TextMatch::IgnoringCase));
    EXPECT_TRUE(textMatches("Дмитрий", "дмитрий", TextMatch::IgnoringCase));
    EXPECT_FALSE(textMatches("Anna", "Anna ", TextMatch::IgnoringCase));
    EXPECT_FALSE(textMatches("a1b2", "A1B2", TextMatch::Exact));
    EXPECT_TRUE(textMatches("09:30", "09:30", TextMatch::Exact));
}
