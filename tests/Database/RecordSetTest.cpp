// The record sets: cursor with beginning and end, filter and sort, and
// adding, editing and deleting the current row by its row id.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/StoredText.h"

namespace {
class RecordSets : public ScenarioRecordsFixture {
protected:
    // Names of the rows from the cursor on, walking forward.
    static std::vector<std::string> walk(ScenarioTestTable& table)
    {
        std::vector<std::string> names;
        while (!table.isEOF()) {
            names.push_back(table.getRecord().name);
            DBUtil::moveNext(table);
        }
        return names;
    }
};
} // namespace

TEST_F(RecordSets, cursorWalksBothWaysAndStopsAtItsEnds)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    ASSERT_FALSE(DBUtil::emptyTable(table));
    EXPECT_EQ(table.getRecord().name, "Basic");
    EXPECT_EQ(walk(table), (std::vector<std::string>{"Basic", "Advanced", "Child"}));
    EXPECT_TRUE(table.isEOF());
    EXPECT_FALSE(table.isBOF());
    DBUtil::moveNext(table); // at the end already: stays there
    EXPECT_TRUE(table.isEOF());

    DBUtil::movePrev(table);
    EXPECT_EQ(table.getRecord().name, "Child");
    DBUtil::moveFirst(table);
    DBUtil::movePrev(table);
    EXPECT_TRUE(table.isBOF());
    EXPECT_FALSE(table.isEOF());
    DBUtil::moveNext(table);
    EXPECT_EQ(table.getRecord().name, "Basic");
    DBUtil::moveLast(table);
    ScenarioRow last = table.getRecord();
    EXPECT_EQ(last.name, "Child");
    EXPECT_EQ(last.duration, 300);
    EXPECT_EQ(last.algorithm, "ERC 2010");
    EXPECT_TRUE(last.registerEvents);
    EXPECT_EQ(last.trainingMode, 3);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(RecordSets, movesOnClosedAndEmptySetsDoNothing)
{
    ScenarioTestTable closed(theDatabase);
    ScenarioTestTable empty(theDatabase);
    empty.open("\"Name\" = ?", {std::string("Nobody")});
    ASSERT_TRUE(empty.isOpen);
    for (ScenarioTestTable* table : {&closed, &empty}) {
        EXPECT_TRUE(DBUtil::emptyTable(*table));
        DBUtil::moveFirst(*table);
        DBUtil::moveNext(*table);
        DBUtil::movePrev(*table);
        DBUtil::moveLast(*table);
        EXPECT_TRUE(table->isBOF());
        EXPECT_TRUE(table->isEOF());
        EXPECT_EQ(table->rowId(), 0);
    }
    EXPECT_EQ(empty.countKey("Basic"), 0);
    EXPECT_THROW(empty.edit(), DatabaseError);
    EXPECT_THROW(empty.deleteRow(), DatabaseError);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(RecordSets, filterWithParametersAndSortChooseAndOrderTheRows)
{
    ScenarioTestTable table(theDatabase);
    table.sort = "\"Duration\" DESC";
    table.open("\"Algorithm\" = ?", {std::string("ERC 2010")});
    EXPECT_EQ(walk(table), (std::vector<std::string>{"Child", "Basic"}));

    // A hostile filter value is only a value.
    table.open("\"Algorithm\" = ?", {std::string("x' OR '1'='1")});
    EXPECT_TRUE(table.isOpen);
    EXPECT_TRUE(DBUtil::emptyTable(table));
}

TEST_F(RecordSets, editAndDeleteReachOnlyTheCurrentRow)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    DBUtil::moveNext(table); // Advanced
    long long advancedId = table.rowId();
    ScenarioRow row = table.getRecord();
    row.name = "Advanced adult";
    row.duration = 900;
    table.edit();
    table.setRecord(row);
    EXPECT_TRUE(table.update());
    EXPECT_EQ(table.rowId(), advancedId);
    EXPECT_EQ(table.getRecord().name, "Advanced adult");

    DBUtil::moveFirst(table);
    table.deleteRow();
    DBUtil::moveFirst(table); // the deleted row is skipped
    EXPECT_EQ(walk(table), (std::vector<std::string>{"Advanced adult", "Child"}));

    ScenarioTestTable fresh(theDatabase);
    fresh.open("");
    EXPECT_EQ(walk(fresh), (std::vector<std::string>{"Advanced adult", "Child"}));
    DBUtil::moveFirst(fresh);
    EXPECT_EQ(fresh.getRecord().duration, 900);
    EXPECT_FALSE(fresh.update()); // nothing was started
}

TEST_F(RecordSets, editOfARowDeletedBehindTheSetFailsAndCancelRestoresTheRow)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    theDatabase.execute("DELETE FROM \"Scenario\" WHERE \"Name\" = ?", {std::string("Basic")});
    table.edit();
    table.setRecord({"Renamed", 1, "", false, 1});
    EXPECT_FALSE(table.update());
    EXPECT_FALSE(table.lastError().empty());
    table.cancelUpdate();
    EXPECT_EQ(table.getRecord().name, "Basic");
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Advanced", "Child"}));
}

TEST_F(RecordSets, addingToAnEmptySetLeavesTheCursorAtTheEndOfAFilledSet)
{
    ScenarioTestTable table(theDatabase);
    table.open("\"Name\" = ?", {std::string("Nobody")});
    table.store({"Nobody", 60, "", false, 1});
    EXPECT_FALSE(DBUtil::emptyTable(table));
    EXPECT_TRUE(table.isEOF());
    DBUtil::moveFirst(table);
    EXPECT_EQ(table.getRecord().name, "Nobody");
    EXPECT_GT(table.rowId(), 0);
}

TEST_F(RecordSets, everyTextSurvivesTheRoundTrip)
{
    // Names in several scripts, a quote, and a note longer than any read buffer.
    const std::vector<std::string> texts = {
        "O'Brien", "Ärztin Åsa Øberg", "Дмитрий", "山田太郎", "x' OR '1'='1; --", std::string(20000, 'n') + "end",
    };
    ScenarioTestTable table(theDatabase);
    table.open("\"Duration\" = ?", {42LL});
    for (const auto& text : texts)
        table.store({text, 42, text, false, 1});
    table.reopen();
    std::vector<std::string> expected = texts;
    EXPECT_EQ(walk(table), expected);
}

TEST_F(RecordSets, aTextWithANulOrBytesThatAreNotUtf8IsRefusedWithOneMessageAndNothingIsStored)
{
    using namespace std::string_literals;
    const std::string unstorable[] = {
        "Trainee\0A"s,        // a driver ends the text at the NUL
        "A\0"s,
        "Andr\xE9",           // Latin-1, not UTF-8
        "Andr\xC3",           // a sequence cut short at the end
        "\xC0\xAF",           // overlong "/"
        "\xED\xA0\x80",       // a UTF-16 surrogate
        "\xF4\x90\x80\x80",   // past U+10FFFF
        "\xF8\x88\x80\x80\x80", // a five-byte form
        "\x80x",              // a continuation byte without a lead
    };
    ScenarioTestTable table(theDatabase);
    table.open("");
    for (const std::string& text : unstorable) {
        SCOPED_TRACE(::testing::PrintToString(text));
        table.addNew();
        table.setRecord({text, 60, "", false, 1});
        EXPECT_FALSE(table.update());
        EXPECT_EQ(table.lastError(), UNSTORABLE_TEXT_ERROR);
        table.cancelUpdate();

        DBUtil::moveFirst(table);
        table.edit();
        table.setRecord({"Basic", 120, text, true, 1});
        EXPECT_FALSE(table.update());
        EXPECT_EQ(table.lastError(), UNSTORABLE_TEXT_ERROR);
        table.cancelUpdate();
        EXPECT_EQ(table.getRecord().algorithm, "ERC 2010");

        // Direct statements meet the same check.
        EXPECT_THROW(theDatabase.execute("UPDATE \"Scenario\" SET \"Algorithm\" = ?", {text}), DatabaseError);
    }
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Basic", "Advanced", "Child"}));
    EXPECT_EQ(column("Scenario", "Algorithm"), (std::vector<std::string>{"ERC 2010", "AHA 2010", "ERC 2010"}));

    // A cascade with such a text tells the user instead of missing the rows.
    DBUtil::update(theDatabase, "Scenario", "Algorithm", "ERC 2010", "ERC\0 2015"s);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_NE(asker.asked.front().text.find(L"NUL character"), std::wstring::npos);
    EXPECT_EQ(column("Scenario", "Algorithm"), (std::vector<std::string>{"ERC 2010", "AHA 2010", "ERC 2010"}));
}

TEST_F(RecordSets, theWholeOfUtf8IsStoredAndFoundByItsText)
{
    // Two-, three- and four-byte forms up to the last code point, and the
    // edges of the surrogate gap.
    const std::string texts[] = {"\xC2\x80 \xDF\xBF", "\xED\x9F\xBF \xEE\x80\x80 \xEF\xBF\xBD",
                                 "\xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"};
    ScenarioTestTable table(theDatabase);
    table.open("");
    for (const std::string& text : texts) {
        table.addNew();
        table.setRecord({text, 60, "", false, 1});
        EXPECT_TRUE(table.update()) << table.lastError();
    }
    for (const std::string& text : texts) {
        ScenarioTestTable found(theDatabase);
        found.open("\"Name\" = ?", {text});
        ASSERT_FALSE(DBUtil::emptyTable(found));
        EXPECT_EQ(found.getRecord().name, text);
    }
}
