// The pool of open tables: registration, refresh of every open table of a
// kind, a refresh that cannot reopen, and filling a combo box from a column.

#include "RecordsFixture.h"
#include "ScenarioTestTable.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"

namespace {
class Pool : public ScenarioRecordsFixture {
protected:
    static std::vector<std::string> algorithms(ScenarioTestTable& table)
    {
        std::vector<std::string> names;
        for (DBUtil::moveFirst(table); !table.isEOF(); DBUtil::moveNext(table))
            names.push_back(table.getColumnText("ALGORITHM"));
        return names;
    }
};
} // namespace

TEST_F(Pool, tablesRegisterWhenOpenedAndLeaveWhenDestroyed)
{
    std::size_t before = TablePool::size();
    {
        ScenarioTestTable opened(theDatabase);
        ScenarioTestTable neverOpened(theDatabase);
        opened.open("");
        opened.open("\"Duration\" > 100"); // a second open does not register twice
        EXPECT_TRUE(TablePool::contains(&opened));
        EXPECT_FALSE(TablePool::contains(&neverOpened));
        EXPECT_EQ(TablePool::size(), before + 1);
    }
    EXPECT_EQ(TablePool::size(), before);
    TablePool::refresh(TableKind::Course); // no table of that kind: nothing happens
    EXPECT_EQ(clock.sleeps(), 0);
}

TEST_F(Pool, refreshReopensEveryOpenTableOfTheKindUnderItsOwnFilter)
{
    ScenarioTestTable all(theDatabase);
    ScenarioTestTable erc(theDatabase);
    all.open("");
    erc.open("\"Algorithm\" = ?", {std::string("ERC 2010")});
    DBUtil::moveLast(all);

    DBUtil::update(theDatabase, "Scenario", "Algorithm", "erc 2010", "ERC 2015");
    EXPECT_EQ(algorithms(all), (std::vector<std::string>{"ERC 2010", "AHA 2010", "ERC 2010"})); // not yet
    TablePool::refresh(TableKind::Scenario);

    EXPECT_EQ(algorithms(all), (std::vector<std::string>{"ERC 2015", "AHA 2010", "ERC 2015"}));
    EXPECT_TRUE(DBUtil::emptyTable(erc)); // its filter still asks for the old name
    EXPECT_TRUE(all.isOpen);
    EXPECT_TRUE(erc.isOpen);
}

TEST_F(Pool, deleteThroughOneTableIsSeenByTheOther)
{
    ScenarioTestTable editor(theDatabase);
    ScenarioTestTable list(theDatabase);
    editor.open("");
    list.open("");
    editor.deleteKey("CHILD", false);
    EXPECT_EQ(list.countKey("child"), 0);
    EXPECT_EQ(list.countKey("BASIC"), 1);
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Basic", "Advanced"}));
}

TEST_F(Pool, refreshThatCannotReopenLeavesTheTableClosed)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    theDatabase.execute("DROP TABLE \"Scenario\"");
    TablePool::refresh(TableKind::Scenario);
    EXPECT_FALSE(table.isOpen);
    EXPECT_FALSE(table.isCursorOpen());
    EXPECT_EQ(clock.sleeps(), 3);
    EXPECT_EQ(table.countKey("Basic"), 0);
    RecordingComboList combo;
    table.fillComboBox(combo, "name", "");
    EXPECT_TRUE(combo.items.empty());
    table.reopen(); // closed: nothing to reopen
    EXPECT_EQ(clock.sleeps(), 3);
}

TEST_F(Pool, fillComboBoxListsTheColumnAndKeepsTheSelection)
{
    ScenarioTestTable table(theDatabase);
    table.open("");
    RecordingComboList combo;
    combo.items = {"Advanced", "Old entry"};
    combo.selected = "Advanced";
    table.fillComboBox(combo, "Name", "");
    EXPECT_EQ(combo.items, (std::vector<std::string>{"Basic", "Advanced", "Child"}));
    EXPECT_EQ(combo.selected, "Advanced");

    combo.selected = "Old entry";
    table.fillComboBox(combo, "name", "");
    EXPECT_EQ(combo.selected, ""); // no longer listed
}

TEST_F(Pool, fillComboBoxReopensOnlyForAnotherFilterAndRestoresTheOldOne)
{
    ScenarioTestTable table(theDatabase);
    table.open("\"Algorithm\" = ?", {std::string("ERC 2010")});
    // A row added behind the table's back shows only once the table reopens.
    theDatabase.execute("INSERT INTO \"Scenario\" (\"Name\", \"Algorithm\") VALUES ('Infant', 'ERC 2010')");

    RecordingComboList combo;
    table.fillComboBox(combo, "name", table.filter);
    EXPECT_EQ(combo.items, (std::vector<std::string>{"Basic", "Child"}));

    table.fillComboBox(combo, "name", "\"Duration\" >= 300");
    EXPECT_EQ(combo.items, (std::vector<std::string>{"Advanced", "Child", "Infant"}));
    EXPECT_EQ(table.filter, "\"Algorithm\" = ?");
    std::vector<std::string> names;
    for (DBUtil::moveFirst(table); !table.isEOF(); DBUtil::moveNext(table))
        names.push_back(table.getColumnText("name"));
    EXPECT_EQ(names, (std::vector<std::string>{"Basic", "Child", "Infant"}));
}
