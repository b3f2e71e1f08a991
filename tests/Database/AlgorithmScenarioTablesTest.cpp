#include "TablesFixture.h"

#include "Database/AlgorithmTable.h"
#include "Database/EventListControl.h"
#include "Database/ScenarioEventList.h"
#include "Database/ScenarioTable.h"
#include "Database/SessionTable.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class AlgorithmScenarioTables : public TablesFixture {
protected:
    void addAlgorithm(const std::string& name, bool builtIn)
    {
        AlgorithmTable table(theDatabase);
        table.open("");
        AlgorithmRecord record;
        record.Name = name;
        record.builtIn = builtIn;
        record.eccRateHigh = 123;
        table.addNew();
        table.setRecord(record);
        ASSERT_TRUE(table.update()) << table.lastError();
    }
    void addScenario(const std::string& name, const std::string& algorithm)
    {
        exec("INSERT INTO \"Scenario\" (\"Name\", \"Algorithm\") VALUES (?, ?)", {name, algorithm});
    }
    void addSession(const std::string& algorithm, const std::string& scenario)
    {
        exec("INSERT INTO \"Session\" (\"Algorithm\", \"Scenario\") VALUES (?, ?)", {algorithm, scenario});
    }
    void addEvent(const std::string& scenario, long order, const std::string& name)
    {
        exec("INSERT INTO \"Events\" (\"Scenario\", \"Order\", \"Name\") VALUES (?, ?, ?)",
             {scenario, static_cast<long long>(order), name});
    }
};

TEST_F(AlgorithmScenarioTables, anOpenPrunesObsoleteBuiltInRowsOnly)
{
    // Rows written straight into the table, as an older station left them.
    const char* insert = "INSERT INTO \"Algorithm\" (\"Name\", \"builtIn\") VALUES (?, ?)";
    exec(insert, {"ERC 2010 (European Resuscitation Council)", 1LL});
    exec(insert, {"AHA 2010 (American Heart Association)", 1LL});
    exec(insert, {"aha 2010 (american heart association)", 1LL});
    exec(insert, {"AHA 2005 (American Heart Association)", 1LL});
    exec(insert, {"ERC 2010  (European Resuscitation Council)", 1LL});
    exec(insert, {"AHA 2005 (American Heart Association) copy", 0LL});
    exec(insert, {"O'Brien's limits", 0LL});

    AlgorithmTable table(theDatabase);
    table.open("");
    ASSERT_TRUE(table.isOpen);
    EXPECT_EQ(column("Algorithm", "Name"),
              (std::vector<std::string>{"ERC 2010 (European Resuscitation Council)",
                                        "AHA 2010 (American Heart Association)",
                                        "AHA 2005 (American Heart Association) copy", "O'Brien's limits"}));
    // The cursor is usable after the pruning.
    EXPECT_EQ(table.getByName("o'brien's LIMITS").Name, "O'Brien's limits");
}

TEST_F(AlgorithmScenarioTables, theInstalledBuiltInRowsSurviveAndCarryTheGuidelineLimits)
{
    installSetUpRows();
    AlgorithmTable table(theDatabase);
    table.open("");
    for (const char* name : AlgorithmTable::KEPT_BUILT_INS) {
        AlgorithmRecord found = table.getByName(name);
        EXPECT_TRUE(found.builtIn) << name;
        EXPECT_EQ(found.Name, name);
        EXPECT_EQ(found.compDepthLow, 50);
        EXPECT_EQ(found.compDepthHigh, 60);
        EXPECT_EQ(found.eccRateLow, 100);
        EXPECT_EQ(found.eccRateHigh, 120);
        EXPECT_EQ(found.compRelaxLow, 40);
        EXPECT_EQ(found.compRelaxHigh, 60);
        EXPECT_EQ(found.compRelaxRecc, 50);
        EXPECT_EQ(found.initVent, 0);
        EXPECT_EQ(found.ventCompRatioSingleComp, 30);
        EXPECT_EQ(found.ventCompRatioSingleVent, 2);
        EXPECT_EQ(found.ventCompRatioDoubleComp, 30);
        EXPECT_EQ(found.ventCompRatioDoubleVent, 2);
        EXPECT_EQ(found.vRateLow, 3);
        EXPECT_EQ(found.vRateHigh, 6);
        EXPECT_EQ(found.vVolLow, 0.5);
        EXPECT_EQ(found.vVolHigh, 0.6);
        EXPECT_EQ(found.pauseEccMax, 10);
    }
    EXPECT_EQ(count("Algorithm"), 2);
}

TEST_F(AlgorithmScenarioTables, getByNameIgnoresCaseAndFallsBackToDefaultsUnderTheAskedName)
{
    addAlgorithm("AHA 2010 (American Heart Association)", true);
    AlgorithmTable table(theDatabase);
    table.open("");
    AlgorithmRecord found = table.getByName("aha 2010 (american heart association)");
    EXPECT_EQ(found.Name, "AHA 2010 (American Heart Association)");
    EXPECT_EQ(found.eccRateHigh, 123);
    EXPECT_TRUE(found.builtIn);
    EXPECT_EQ(table.countKey("AHA 2010 (AMERICAN heart association)"), 1);

    AlgorithmRecord missing = table.getByName("Nobody's guideline");
    AlgorithmRecord expected;
    expected.Name = "Nobody's guideline";
    EXPECT_EQ(missing, expected);

    AlgorithmTable closed(theDatabase);
    EXPECT_EQ(closed.getByName("AHA 2010 (American Heart Association)").eccRateHigh, 110);
    EXPECT_EQ(closed.countKey("AHA 2010 (American Heart Association)"), 0);
}

TEST_F(AlgorithmScenarioTables, renamingAnAlgorithmCarriesHostileNamesIntoSessionsAndScenarios)
{
    const std::string oldName = "O'Brien's \"limits\"; DROP TABLE \"Session\"; --";
    const std::string newName = "Ó'Brien 2010 ' OR '1'='1";
    addAlgorithm(oldName, false);
    addScenario("Drill", "o'brien's \"LIMITS\"; drop table \"session\"; --");
    addScenario("Other", "ERC");
    addSession(oldName, "Drill");
    addSession("ERC", "Other");

    ScenarioTable openScenarios(theDatabase);
    openScenarios.open("");
    AlgorithmTable table(theDatabase);
    table.open("");
    table.renameKey(oldName, newName);

    EXPECT_EQ(column("Scenario", "Algorithm"), (std::vector<std::string>{newName, "ERC"}));
    EXPECT_EQ(column("Session", "Algorithm"), (std::vector<std::string>{newName, "ERC"}));
    // The open scenario table was refreshed and sees the new name.
    EXPECT_EQ(openScenarios.getScenario("drill").algorithm, newName);
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(AlgorithmScenarioTables, deletingAnAlgorithmCascadesOnlyWhenAsked)
{
    addAlgorithm("O'Brien", false);
    addAlgorithm("Keep", false);
    addScenario("Drill", "o'brien");
    addScenario("Kept drill", "Keep");
    addSession("O'Brien", "Drill");
    addSession("Keep", "Kept drill");
    AlgorithmTable table(theDatabase);
    table.open("");

    table.deleteKey("O'BRIEN", false);
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(count("Scenario"), 2);
    EXPECT_EQ(count("Session"), 2);
    EXPECT_EQ(table.getByName("O'Brien").eccRateHigh, 110); // the defaults now

    addAlgorithm("O'Brien", false);
    table.deleteKey("O'Brien", true);
    EXPECT_EQ(column("Algorithm", "Name"), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Kept drill"}));
    EXPECT_EQ(column("Session", "Algorithm"), (std::vector<std::string>{"Keep"}));
}

TEST_F(AlgorithmScenarioTables, scenarioLookupRenameAndDeleteReachSessionsEventsAndCourses)
{
    addScenario("O'Hara drill", "ERC");
    addScenario("Other", "AHA");
    addSession("ERC", "o'hara DRILL");
    addSession("AHA", "Other");
    addEvent("O'Hara drill", 0, "Phone");
    addEvent("Other", 0, "Pulse");
    exec("INSERT INTO \"Course\" (\"Instructor\", \"DefaultScenario\") VALUES ('A', ?), ('B', 'Other')",
         {"O'HARA drill"});

    ScenarioTable table(theDatabase);
    table.open("");
    ScenarioRecord found = table.getScenario("o'hara drill");
    EXPECT_EQ(found.name, "O'Hara drill");
    EXPECT_EQ(found.algorithm, "ERC");
    EXPECT_EQ(table.getColumnText("Algorithm"), "ERC");
    EXPECT_EQ(table.getScenario("Missing"), ScenarioRecord());

    table.renameKey("O'Hara drill", "Ward's drill");
    EXPECT_EQ(column("Session", "Scenario"), (std::vector<std::string>{"Ward's drill", "Other"}));
    EXPECT_EQ(column("Events", "Scenario"), (std::vector<std::string>{"Ward's drill", "Other"}));
    EXPECT_EQ(column("Course", "DefaultScenario"), (std::vector<std::string>{"Ward's drill", "Other"}));
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"O'Hara drill", "Other"}));

    table.deleteKey("O'Hara drill", false);
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(count("Session"), 2);

    addScenario("Ward's drill", "ERC");
    table.deleteKey("ward's drill", true);
    EXPECT_EQ(column("Scenario", "Name"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(column("Session", "Scenario"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(column("Events", "Scenario"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(column("Course", "DefaultScenario"), (std::vector<std::string>{"Other"}));
}

TEST_F(AlgorithmScenarioTables, aScenarioWithoutEventsLoadsTheSevenDefaultsWithoutStoringThem)
{
    ScenarioEventList list("O'Neil's drill");
    for (int round = 0; round < 2; ++round) {
        std::vector<EventRecord> events = list.load();
        ASSERT_EQ(events.size(), 7u);
        const std::vector<std::pair<std::string, long>> expected = {
            {"Own safety", 96}, {"Shake & shout", 1}, {"Phone", 0}, {"Airway", 3},
            {"Head-tilt", 5},   {"Breathing", 4},     {"Pulse", 2}};
        for (std::size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].order, static_cast<long>(i));
            EXPECT_EQ(events[i].scenario, "O'Neil's drill");
            EXPECT_EQ(events[i].name, expected[i].first);
            EXPECT_EQ(events[i].icon, expected[i].second);
        }
        EXPECT_EQ(events[0].tooltip, "Pay attention to own safety");
        EXPECT_EQ(events[6].tooltip, "Check for pulse");
    }
    EXPECT_EQ(count("Events"), 0);
}

TEST_F(AlgorithmScenarioTables, savingRenumbersAndReplacesOnlyThisScenariosEvents)
{
    addEvent("Other", 0, "Kept");
    addEvent("o'neil's DRILL", 0, "Old");
    ScenarioEventList list("O'Neil's drill");
    std::vector<EventRecord> events = {{"O'Neil's drill", 7, "C", "tip c", 3},
                                       {"O'Neil's drill", 2, "A", "tip a", 1},
                                       {"O'Neil's drill", 9, "B", "tip b", 2}};
    ASSERT_TRUE(list.save(events));
    EXPECT_EQ(events[0].order, 0);
    EXPECT_EQ(events[1].order, 1);
    EXPECT_EQ(events[2].order, 2);
    EXPECT_EQ(list.load(), events);
    EXPECT_EQ(ScenarioEventList("O'NEIL'S drill").load(), events);
    EXPECT_EQ(column("Events", "Name"), (std::vector<std::string>{"Kept", "C", "A", "B"}));

    std::vector<EventRecord> none;
    ASSERT_TRUE(list.save(none));
    EXPECT_EQ(list.load().size(), 7u);
    EXPECT_EQ(column("Events", "Name"), (std::vector<std::string>{"Kept"}));
}

TEST_F(AlgorithmScenarioTables, aRefusedEventLeavesTheStoredListAsItWasAndIsReported)
{
    refuseInserts("Events", "Name", "bad");
    ScenarioEventList list("Drill");
    std::vector<EventRecord> first = {{"Drill", 0, "one", "", 0}, {"Drill", 1, "two", "", 0}};
    ASSERT_TRUE(list.save(first));
    std::vector<EventRecord> second = {{"Drill", 0, "new", "", 0}, {"Drill", 1, "bad", "", 0}};
    EXPECT_FALSE(list.save(second));
    EXPECT_EQ(column("Events", "Name"), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(list.load(), first);
    ASSERT_FALSE(asker.asked.empty());
    EXPECT_NE(asker.asked.back().text.find(L"refused by the test"), std::wstring::npos);
}

class RecordingEventList : public EventListControl {
public:
    void insertColumn(int column, const std::string& heading, Align, int width) override
    {
        headings.resize(column + 1);
        widths.resize(column + 1);
        headings[column] = heading;
        widths[column] = width;
    }
    void setFullRowSelectOnly() override {}
    void setSmallIcons(int) override {}
    void deleteAllItems() override { rows.clear(); }
    void insertItem(int index, int image) override { rows.insert(rows.begin() + index, {image, 0, "", ""}); }
    void setItemData(int index, long data) override { rows[index].data = data; }
    void setItemText(int index, int column, const std::string& text) override
    {
        (column == 1 ? rows[index].name : rows[index].tooltip) = text;
    }
    int clientWidth() override { return 400; }
    void autoSizeColumn(int column) override { widths[column] = 22; }
    int columnWidth(int column) override { return widths[column]; }
    void setColumnWidth(int column, int width) override { widths[column] = width; }

    struct Row {
        int image;
        long data;
        std::string name;
        std::string tooltip;
    };
    std::vector<std::string> headings;
    std::vector<int> widths;
    std::vector<Row> rows;
};

TEST_F(AlgorithmScenarioTables, theEventListShowsIconsNamesAndTipsInColumnsOfFortyToSixty)
{
    RecordingEventList control;
    ScenarioEventList list("Drill");
    list.setupListColumns(control);
    EXPECT_EQ(control.headings, (std::vector<std::string>{"", "Name", "Tooltip"}));
    list.fillList(control);
    ASSERT_EQ(control.rows.size(), 7u);
    EXPECT_EQ(control.rows[0].image, 96);
    EXPECT_EQ(control.rows[6].data, 6);
    EXPECT_EQ(control.rows[2].name, "Phone");
    EXPECT_EQ(control.rows[2].tooltip, "Call for help");
    // 378 pixels left: 2 * int(0.2 * 378 + 0.4) = 152 and the remaining 226.
    EXPECT_EQ(control.widths, (std::vector<int>{22, 152, 226}));
}

} // namespace
