// The record sets: cursor with beginning and end, filter and sort, and
// adding, editing and deleting the current row by its row id.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"

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
    EXPECT_THROW(table.update(), DatabaseError);
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
