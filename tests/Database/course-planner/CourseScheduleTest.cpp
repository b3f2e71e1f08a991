// The rules of a course's schedule without windows: the blank row and its
// time slot, the lock, moving, removing, sorting and scrolling, the times a
// row takes from its start field and from the course, and the rows that are
// stored.

#include "Database/Duration.h"
#include "Database/course-planner/CourseSchedule.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

class FakeSources : public CourseSchedule::Sources {
public:
    ScenarioRecord getScenario(const std::string& name) override
    {
        const auto found = scenarios.find(name);
        if (found != scenarios.end())
            return found->second;
        ScenarioRecord fallback;
        fallback.name = name;
        return fallback;
    }
    long firstReadyPort() override { return port; }
    std::string firstReadyPortText() override { return std::to_string(port) + " - USB"; }

    std::map<std::string, ScenarioRecord> scenarios;
    long port = 1;
};

ScenarioRecord scenario(const std::string& name, long duration, int mode)
{
    ScenarioRecord record;
    record.name = name;
    record.duration = duration;
    record.algorithm = "ERC 2010";
    record.trainingMode = mode;
    return record;
}

class CourseScheduleRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        // New rows draw serial identifiers, which look for data files named in the registry.
        setenv("KOVA_REGISTRY_DIR", registry.path().c_str(), 1);
        sources.scenarios = {{"Basic", scenario("Basic", 600, 1)},
                             {"Long", scenario("Long", 1800, 0)},
                             {"Free", scenario("Free", -1, 1)}};
        course.instructor = "Ann";
        course.date = "2025-03-04";
        course.time = "09:00";
        course.defaultScenario = "Basic";
    }
    void TearDown() override { unsetenv("KOVA_REGISTRY_DIR"); }

    // Types participants (and a manikin) into a row and lets the schedule refresh.
    void fill(int index, const std::string& ventilation, const std::string& compression,
              const std::string& manikin = "1 - USB")
    {
        const SessionRecord& row = schedule.row(index);
        schedule.commitRow(index, {ventilation, compression, manikin, row.StartTime, row.EndTime, {}, {}});
        schedule.refresh(course);
    }
    // A schedule of stored rows at 09:02, 09:13, ... on manikin 1, with the blank row below.
    void loadRows(const std::vector<std::string>& names)
    {
        std::vector<SessionRecord> rows;
        std::string start = "09:02";
        for (const std::string& name : names) {
            SessionRecord row;
            row.PersonVentilation = name;
            row.PersonChestCompression = name + "'s partner";
            row.Manikin = 1;
            row.StartTime = start;
            row.EndTime = Duration::endTime(start, 600);
            start = Duration::endTime(row.EndTime, 60);
            rows.push_back(row);
        }
        schedule.load(rows);
        schedule.refresh(course);
    }
    std::vector<std::string> ventilation() const
    {
        std::vector<std::string> names;
        for (const SessionRecord& row : schedule.rows())
            names.push_back(row.PersonVentilation);
        return names;
    }
    std::vector<std::string> startTimes() const
    {
        std::vector<std::string> times;
        for (const SessionRecord& row : schedule.rows())
            times.push_back(row.StartTime);
        return times;
    }

    kovatest::TempDir registry;
    FakeSources sources;
    CourseRecord course;
    CourseSchedule schedule{sources, 4, CourseSchedule::Swap::KeepTimeSlots};
};

TEST_F(CourseScheduleRules, eachNewRowTakesTheNextSlotOnItsManikinOrStartsBesideTheRowBefore)
{
    schedule.refresh(course);
    ASSERT_EQ(schedule.rowCount(), 1);
    const SessionRecord& first = schedule.row(0);
    EXPECT_EQ(first.StartTime, "09:02") << "two minutes after the course starts";
    EXPECT_EQ(first.EndTime, "09:12");
    EXPECT_EQ(first.Scenario, "Basic");
    EXPECT_EQ(first.Algorithm, "ERC 2010");
    EXPECT_EQ(first.Manikin, 1);
    EXPECT_EQ(first.manikinText, "1 - USB");
    EXPECT_EQ(first.CourseInstructor, "Ann");
    EXPECT_EQ(first.CourseTime, "09:00");
    EXPECT_FALSE(schedule.modified()) << "the blank row alone is nothing to store";
    EXPECT_EQ(schedule.selectedRow(), 1);

    fill(0, "Bob", "Cid");
    ASSERT_EQ(schedule.rowCount(), 2);
    EXPECT_TRUE(schedule.modified());
    EXPECT_EQ(schedule.row(1).StartTime, "09:13") << "one minute after the session before on the same manikin";
    EXPECT_EQ(schedule.row(1).EndTime, "09:23");
    EXPECT_EQ(schedule.row(1).PersonVentilation, "") << "no default participant";
    EXPECT_EQ(schedule.selectedRow(), 1) << "the selection stays";

    fill(1, "Dan", "", "3 - USB");
    ASSERT_EQ(schedule.rowCount(), 3);
    EXPECT_EQ(schedule.row(1).Manikin, 3);
    EXPECT_EQ(schedule.row(2).StartTime, "09:13") << "another manikin runs beside the session before";
    EXPECT_EQ(schedule.row(2).EndTime, "09:23");
    EXPECT_EQ(schedule.storedRows().size(), 2u);

    schedule.refresh(course);
    EXPECT_EQ(schedule.rowCount(), 3) << "an empty blank row stays the only blank row";

    course.defaultScenario = "Free";
    sources.port = 3;
    fill(2, "Eve", "", "3 - USB");
    EXPECT_EQ(schedule.row(3).StartTime, "09:24");
    EXPECT_EQ(schedule.row(3).EndTime, "") << "a session without limit has no end";
    course.defaultScenario = "Basic";
    fill(3, "Fay", "", "3 - USB");
    EXPECT_EQ(schedule.row(4).StartTime, "09:24") << "the session before has no end to follow";
}

TEST_F(CourseScheduleRules, anIncompleteKeyLocksTheScheduleUntilItIsComplete)
{
    course.instructor.clear();
    schedule.refresh(course);
    EXPECT_TRUE(schedule.locked());
    EXPECT_EQ(schedule.rowCount(), 1) << "an empty schedule still shows its blank row";
    EXPECT_EQ(schedule.selectedRow(), 0);
    EXPECT_EQ(schedule.selectedIndex(), -1);
    schedule.selectVisibleRow(1);
    EXPECT_EQ(schedule.selectedRow(), 0) << "nothing is selected while locked";
    EXPECT_FALSE(schedule.sortByStartTime());
    EXPECT_FALSE(schedule.moveUp());

    course.instructor = "Ann";
    schedule.refresh(course);
    EXPECT_FALSE(schedule.locked());
    EXPECT_EQ(schedule.selectedRow(), 1);
    EXPECT_EQ(schedule.rowCount(), 1);

    fill(0, "Bob", "Cid");
    fill(1, "Dan", "Eve");
    schedule.selectVisibleRow(2);
    course.date.clear();
    schedule.refresh(course);
    EXPECT_TRUE(schedule.locked());
    EXPECT_FALSE(schedule.moveUp());
    EXPECT_FALSE(schedule.canRemoveSelected());
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"Bob", "Dan", ""}));
}

TEST_F(CourseScheduleRules, aStoredRowWithoutParticipantsIsNeverTakenForTheBlankRow)
{
    loadRows({"Bob", ""});
    ASSERT_EQ(schedule.rowCount(), 3) << "a blank row goes below the stored rows";
    EXPECT_FALSE(schedule.modified());
    EXPECT_EQ(schedule.storedRows().size(), 2u);
    EXPECT_TRUE(schedule.isBlankRow(2));
    EXPECT_FALSE(schedule.isBlankRow(1));
    schedule.refresh(course);
    EXPECT_EQ(schedule.rowCount(), 3);
}

TEST_F(CourseScheduleRules, commandsThatCannotActChangeNothing)
{
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        int selectedRow;
        bool (CourseSchedule::*command)();
    };
    const Case cases[] = {
        {"move up on the first row", {"Bob", "Cid"}, 1, &CourseSchedule::moveUp},
        {"move up on the blank row", {"Bob", "Cid"}, 3, &CourseSchedule::moveUp},
        {"move down onto the blank row", {"Bob", "Cid"}, 2, &CourseSchedule::moveDown},
        {"move down on the blank row", {"Bob"}, 2, &CourseSchedule::moveDown},
        {"remove the blank row", {"Bob"}, 2, &CourseSchedule::removeSelected},
        {"sort only the blank row", {}, 1, &CourseSchedule::sortByStartTime},
    };
    for (const Case& c : cases) {
        loadRows(c.rows);
        schedule.selectVisibleRow(c.selectedRow);
        const auto before = schedule.rows();
        EXPECT_FALSE((schedule.*c.command)()) << c.what;
        EXPECT_EQ(schedule.rows(), before) << c.what;
        EXPECT_FALSE(schedule.modified()) << c.what;
        EXPECT_EQ(schedule.selectedRow(), c.selectedRow) << c.what;
    }
}

TEST_F(CourseScheduleRules, movedRowsTradeEverythingButTheirTimeSlots)
{
    loadRows({"Bob", "Cid", "Dan"});
    schedule.selectVisibleRow(3);
    ASSERT_TRUE(schedule.moveUp());
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"Bob", "Dan", "Cid", ""}));
    EXPECT_EQ(startTimes(), (std::vector<std::string>{"09:02", "09:13", "09:24", "09:35"}));
    EXPECT_EQ(schedule.row(1).EndTime, "09:23");
    EXPECT_EQ(schedule.row(1).PersonChestCompression, "Dan's partner");
    EXPECT_EQ(schedule.selectedRow(), 2) << "the selection follows the row";
    EXPECT_TRUE(schedule.modified());

    ASSERT_TRUE(schedule.moveDown());
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"Bob", "Cid", "Dan", ""}));
    EXPECT_EQ(schedule.selectedRow(), 3);

    // A session that has been run keeps the times it ran at.
    SessionRecord done = schedule.row(0);
    done.Done = true;
    schedule.replaceRow(0, done);
    schedule.selectVisibleRow(2);
    ASSERT_TRUE(schedule.moveUp());
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"Cid", "Bob", "Dan", ""}));
    EXPECT_EQ(schedule.row(1).StartTime, "09:02");
    EXPECT_EQ(schedule.row(0).StartTime, "09:13");

    CourseSchedule whole(sources, 8, CourseSchedule::Swap::WholeRows);
    whole.load(schedule.storedRows());
    whole.refresh(course);
    whole.selectVisibleRow(2);
    ASSERT_TRUE(whole.moveUp());
    EXPECT_EQ(whole.row(0).PersonVentilation, "Bob");
    EXPECT_EQ(whole.row(0).StartTime, "09:02") << "whole rows move with their times";
}

TEST_F(CourseScheduleRules, sortingOrdersTheStoredRowsByStartTimeAndLeavesTheBlankRowLast)
{
    loadRows({"Bob", "Cid", "Dan"});
    for (const auto& [index, start] : {std::pair{0, "10:00"}, std::pair{1, "09:30"}, std::pair{2, "9:45"}}) {
        const SessionRecord& row = schedule.row(index);
        schedule.commitRow(index, {row.PersonVentilation, row.PersonChestCompression, "1", start, row.EndTime, {}, {}});
    }
    schedule.setModified(false);
    ASSERT_TRUE(schedule.sortByStartTime());
    // The texts compare byte by byte: "9:45" sorts after "10:00".
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"Cid", "Bob", "Dan", ""}));
    EXPECT_TRUE(schedule.modified());
}

TEST_F(CourseScheduleRules, removingARowKeepsTheWindowOnRowsThatExist)
{
    loadRows({"A", "B", "C", "D", "E"});
    ASSERT_EQ(schedule.rowCount(), 6);
    schedule.selectVisibleRow(3);
    ASSERT_TRUE(schedule.scroll(CourseSchedule::ScrollRequest::Bottom));
    EXPECT_EQ(schedule.topRow(), 2);
    EXPECT_EQ(schedule.selectedIndex(), 4);
    ASSERT_TRUE(schedule.removeSelected());
    EXPECT_EQ(ventilation(), (std::vector<std::string>{"A", "B", "C", "D", ""}));
    EXPECT_EQ(schedule.topRow(), 1);
    EXPECT_EQ(schedule.visibleRows(), 4);
    EXPECT_EQ(schedule.selectedIndex(), 4) << "the row below took the removed row's place";
}

TEST_F(CourseScheduleRules, sixRowsScrollByPagesOfFour)
{
    loadRows({"A", "B", "C", "D", "E"});
    ASSERT_TRUE(schedule.takeScrollRangeChange());
    EXPECT_FALSE(schedule.takeScrollRangeChange());
    EXPECT_EQ(schedule.pageRows(), 4);
    EXPECT_EQ(schedule.scrollLimit(), 2);

    using Request = CourseSchedule::ScrollRequest;
    const struct {
        Request request;
        int thumb;
        int top;
    } steps[] = {
        {Request::PageDown, 0, 2}, {Request::LineDown, 0, 2}, {Request::LineUp, 0, 1},   {Request::PageUp, 0, 0},
        {Request::Thumb, 9, 2},    {Request::Top, 0, 0},      {Request::LineDown, 0, 1}, {Request::Bottom, 0, 2},
    };
    for (const auto& step : steps) {
        schedule.scroll(step.request, step.thumb);
        EXPECT_EQ(schedule.topRow(), step.top) << static_cast<int>(step.request);
        EXPECT_EQ(schedule.visibleRows(), 4);
    }

    // Moving the fourth window row down scrolls the window with it.
    schedule.scroll(Request::Top);
    schedule.selectVisibleRow(4);
    ASSERT_TRUE(schedule.moveDown());
    EXPECT_EQ(schedule.topRow(), 1);
    EXPECT_EQ(schedule.selectedRow(), 4);
    EXPECT_EQ(schedule.row(4).PersonVentilation, "D");
    EXPECT_EQ(schedule.indexOfVisibleRow(4), 4);

    fill(5, "F", "");
    EXPECT_TRUE(schedule.takeScrollRangeChange()) << "a new blank row changes the range";
}

TEST_F(CourseScheduleRules, aStartTimeTypedIntoARowSetsItsEndUnlessItWasRun)
{
    loadRows({"Bob", "Cid"});
    EXPECT_TRUE(schedule.applyStartTime(1, "9:5"));
    EXPECT_EQ(schedule.row(1).StartTime, "09:05");
    EXPECT_EQ(schedule.row(1).EndTime, "09:15");
    EXPECT_TRUE(schedule.modified());
    EXPECT_FALSE(schedule.applyStartTime(1, "09:05")) << "nothing changed";

    SessionRecord done = schedule.row(0);
    done.Done = true;
    schedule.replaceRow(0, done);
    EXPECT_FALSE(schedule.applyStartTime(0, "11:00"));
    EXPECT_EQ(schedule.row(0).StartTime, "09:02");

    schedule.setModified(false);
    EXPECT_TRUE(schedule.applyStartTime(2, "12:00"));
    EXPECT_EQ(schedule.row(2).EndTime, "12:10");
    EXPECT_FALSE(schedule.modified()) << "the blank row is never stored";
}

// What another dialog hands back changes the schedule only where it differs
// in a stored field: the text a manikin box showed is not stored.
TEST_F(CourseScheduleRules, aRowHandedBackUnchangedIsNoChange)
{
    loadRows({"Bob", "Cid"});
    SessionRecord lookedAt = schedule.row(0);
    lookedAt.manikinText = "3 - USB";
    schedule.replaceRow(0, lookedAt);
    EXPECT_FALSE(schedule.modified());
    EXPECT_EQ(schedule.row(0).manikinText, "3 - USB");

    SessionRecord edited = schedule.row(1);
    edited.Note = "Deeper, please";
    schedule.replaceRow(1, edited);
    EXPECT_TRUE(schedule.modified());
}

TEST_F(CourseScheduleRules, theCourseStartTimeAndDefaultScenarioMoveOnlyTheBlankRow)
{
    schedule.refresh(course);
    course.time = "10:00";
    schedule.courseStartTimeChanged(course);
    EXPECT_EQ(schedule.row(0).StartTime, "10:00") << "alone it starts with the course";
    EXPECT_EQ(schedule.row(0).EndTime, "10:10");

    loadRows({"Bob"});
    course.time = "11:00";
    schedule.courseStartTimeChanged(course);
    EXPECT_EQ(startTimes(), (std::vector<std::string>{"09:02", "11:00"}));
    EXPECT_EQ(schedule.row(1).EndTime, "11:10");

    schedule.defaultScenarioChosen("Long");
    EXPECT_EQ(schedule.row(1).Scenario, "Long");
    EXPECT_EQ(schedule.row(1).Duration, 1800);
    EXPECT_EQ(schedule.row(1).TrainingMode, 0);
    EXPECT_EQ(schedule.row(1).EndTime, "11:30") << "the end follows the new length";
    EXPECT_EQ(schedule.row(0).Scenario, "");
    EXPECT_FALSE(schedule.modified());
}

TEST_F(CourseScheduleRules, everyRowTakesTheCourseKeyAndStoredRowsLeaveTheBlankRowOut)
{
    loadRows({"Bob", "Cid"});
    schedule.stampCourse({"Zoe", "2025-04-01", "14:00"});
    for (const SessionRecord& row : schedule.rows()) {
        EXPECT_EQ(row.CourseInstructor, "Zoe");
        EXPECT_EQ(row.CourseDate, "2025-04-01");
        EXPECT_EQ(row.CourseTime, "14:00");
    }
    const auto stored = schedule.storedRows();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].PersonVentilation, "Cid");

    schedule.clear();
    EXPECT_TRUE(schedule.storedRows().empty());
}

TEST(CourseScheduleManikin, theLeadingNumberOfAManikinTextIsItsPort)
{
    const std::pair<const char*, long> cases[] = {
        {"3 - USB", 3}, {"257 - Anne", 257}, {"  12", 12},    {"+4", 4},
        {"abc", 0},     {"", 0},             {" - 5", 0},     {"99999999999999999999999", 0},
    };
    for (const auto& [text, port] : cases)
        EXPECT_EQ(CourseSchedule::manikinNumber(text), port) << text;
}

} // namespace
