#include "TablesFixture.h"

#include "Database/CourseTable.h"
#include "Database/PersonTable.h"
#include "Database/RecordTime.h"
#include "Database/SessionTable.h"
#include "Database/StoredText.h"
#include "ScenarioTestTable.h"

#include <gtest/gtest.h>

namespace {

class PersonCourseTables : public TablesFixture {
protected:
    // A session naming persons in its four person columns.
    void addSession(const std::string& ventilation, const std::string& compression, const std::string& instructor,
                    const std::string& approvedBy)
    {
        exec("INSERT INTO \"Session\" (\"PersonVentilation\", \"PersonChestCompression\", \"CourseInstructor\", "
             "\"ApprovedBy\") VALUES (?, ?, ?, ?)",
             {ventilation, compression, instructor, approvedBy});
    }
    void addCourse(const std::string& instructor, const std::string& date, const std::string& time)
    {
        exec("INSERT INTO \"Course\" (\"Instructor\", \"Date\", \"Time\") VALUES (?, ?, ?)", {instructor, date, time});
    }
    void addCourseSession(const std::string& instructor, const std::string& date, const std::string& time,
                          const std::string& note)
    {
        exec("INSERT INTO \"Session\" (\"CourseInstructor\", \"CourseDate\", \"CourseTime\", \"Note\") "
             "VALUES (?, ?, ?, ?)",
             {instructor, date, time, note});
    }
};

TEST_F(PersonCourseTables, addPersonRefusesEmptyAndExistingNamesAndStoresNewOnes)
{
    PersonTable table(theDatabase);
    EXPECT_FALSE(table.addPerson("Trainee A", false)); // not open
    table.open("");
    EXPECT_TRUE(table.addPerson("Trainee A", false));
    EXPECT_FALSE(table.addPerson("trainee a", true));
    EXPECT_FALSE(table.addPerson("", true));
    EXPECT_TRUE(table.addPerson("O'Brien", true));
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Trainee A", "O'Brien"}));
    EXPECT_EQ(column("Person", "CPRCourses"), (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(column("Person", "Instructor"), (std::vector<std::string>{"0", "1"}));
    EXPECT_EQ(table.countKey("O'BRIEN"), 1);
}

TEST_F(PersonCourseTables, addPersonAnswersFalseWhenTheDatabaseRefusesTheRow)
{
    refuseInserts("Person", "Name", "Trainee A");
    PersonTable table(theDatabase);
    table.open("");
    EXPECT_FALSE(table.addPerson("Trainee A", false));
    EXPECT_EQ(count("Person"), 0);
}

TEST_F(PersonCourseTables, namesWithANulOrBytesThatAreNotUtf8AreRefusedNotCut)
{
    using namespace std::string_literals;
    PersonTable persons(theDatabase);
    persons.open("");
    SessionTable sessions(theDatabase);
    sessions.open("");
    sessions.addNew();
    sessions.setRecord(SessionRecord{});
    ASSERT_TRUE(sessions.update()) << sessions.lastError();
    DBUtil::moveFirst(sessions);
    const SessionRecord stored = sessions.getRecord();
    CourseTable courses(theDatabase);
    courses.open("");

    for (const std::string& name : {"Trainee\0A"s, "Andr\xE9"s}) {
        SCOPED_TRACE(::testing::PrintToString(name));
        EXPECT_FALSE(persons.addPerson(name, false));
        EXPECT_EQ(persons.lastError(), UNSTORABLE_TEXT_ERROR);

        SessionRecord renamed = stored;
        renamed.PersonVentilation = name;
        sessions.edit();
        sessions.setRecord(renamed);
        EXPECT_FALSE(sessions.update());
        EXPECT_EQ(sessions.lastError(), UNSTORABLE_TEXT_ERROR);
        sessions.cancelUpdate();

        CourseRecord course;
        course.instructor = name;
        courses.addNew();
        courses.setRecord(course);
        EXPECT_FALSE(courses.update());
        EXPECT_EQ(courses.lastError(), UNSTORABLE_TEXT_ERROR);
        courses.cancelUpdate();
    }
    EXPECT_EQ(count("Person"), 0);
    EXPECT_EQ(count("Course"), 0);
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{""}));
    // The name the user meant is still free, and stored whole.
    EXPECT_TRUE(persons.addPerson("Trainee", false));
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Trainee"}));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(PersonCourseTables, aNewPersonRecordAndTheColumnTexts)
{
    PersonRecord fresh;
    EXPECT_EQ(fresh.cprCourses, "0");
    EXPECT_EQ(fresh.resuscitations, "0");
    EXPECT_FALSE(fresh.instructor);
    EXPECT_TRUE(fresh.name.empty() && fresh.address.empty() && fresh.note.empty());

    exec("INSERT INTO \"Person\" (\"Name\", \"Phone\", \"Resuscitations\") VALUES ('Trainee A', '555', '3')");
    PersonTable table(theDatabase);
    table.open("");
    EXPECT_EQ(table.getColumnText("Name"), "Trainee A");
    EXPECT_EQ(table.getColumnText("NAME"), "Trainee A");
    EXPECT_EQ(table.getColumnText("phone"), "555");
    EXPECT_EQ(table.getColumnText("Resuscitations"), "3");
    EXPECT_EQ(table.getColumnText("instructor"), "");
}

TEST_F(PersonCourseTables, renamingAPersonReachesAllFourSessionColumnsAndCourses)
{
    addSession("O'Brien", "X", "o'brien", "Y");
    addSession("X", "O'BRIEN", "Y", "O'Brien");
    addCourse("O'Brien", "2024-11-05", "09:30");
    addCourse("Trainer B", "2024-11-05", "09:30");
    SessionTable sessions(theDatabase);
    sessions.open("");
    PersonTable table(theDatabase);
    table.open("");
    table.renameKey("O'Brien", "Trainee B ' --");
    const std::string b = "Trainee B ' --";
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{b, "X"}));
    EXPECT_EQ(column("Session", "PersonChestCompression"), (std::vector<std::string>{"X", b}));
    EXPECT_EQ(column("Session", "CourseInstructor"), (std::vector<std::string>{b, "Y"}));
    EXPECT_EQ(column("Session", "ApprovedBy"), (std::vector<std::string>{"Y", b}));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{b, "Trainer B"}));
    EXPECT_TRUE(sessions.isOpen);
}

TEST_F(PersonCourseTables, deletingAPersonCascadesIntoEverySessionRoleAndCourseOnlyWhenAsked)
{
    exec("INSERT INTO \"Person\" (\"Name\") VALUES ('O''Brien'), ('Other')");
    addSession("O'Brien", "", "", "");
    addSession("", "o'brien", "", "");
    addSession("", "", "O'Brien", "");
    addSession("", "", "", "O'Brien");
    addSession("Other", "", "", "");
    addCourse("O'Brien", "2024-11-05", "09:30");
    addCourse("Other", "2024-11-05", "09:30");
    PersonTable table(theDatabase);
    table.open("");
    table.deleteKey("O'Brien", false);
    EXPECT_EQ(column("Person", "Name"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(count("Session"), 5);
    EXPECT_EQ(count("Course"), 2);

    table.deleteKey("o'brien", true);
    EXPECT_EQ(column("Session", "PersonVentilation"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Other"}));
}

TEST_F(PersonCourseTables, theCourseDisplayTextParsesBackCountingFromItsEnd)
{
    const struct {
        const char* instructor;
    } cases[] = {{"Trainer A"}, {"Anna on Tour"}, {" on  on "}, {"Ólafur Ægir"}, {""}};
    for (const auto& c : cases) {
        CourseRecord course;
        course.instructor = c.instructor;
        course.date = "2024-11-05";
        course.time = "09:30";
        CourseRecord parsed;
        parsed.parseDisplayText(course.displayText());
        EXPECT_EQ(parsed.instructor, c.instructor);
        EXPECT_EQ(parsed.date, "2024-11-05");
        EXPECT_EQ(parsed.time, "09:30");
    }
    CourseRecord course;
    course.instructor = "Trainer A";
    course.date = "2024-11-05";
    course.time = "09:30";
    EXPECT_EQ(course.displayText(), L"Trainer A on 2024-11-05 at 09:30");

    CourseRecord untouched = course;
    untouched.parseDisplayText(L" on 2024-11-0 at 09:30"); // one character short
    EXPECT_EQ(untouched, course);
}

TEST_F(PersonCourseTables, courseKeysMatchTheInstructorIgnoringCaseAndTheRestExactly)
{
    CourseRecord course;
    course.setKey({"Trainer A", "2024-11-05", "09:30"});
    EXPECT_TRUE(course.matchesKey({"TRAINER a", "2024-11-05", "09:30"}));
    EXPECT_FALSE(course.matchesKey({"Trainer A", "2024-11-05", "9:30"}));
    EXPECT_FALSE(course.matchesKey({"Trainer A", "2024-11-5", "09:30"}));
    EXPECT_TRUE(CourseRecord::isValidKey({"A", "2024-11-05", "09:30"}));
    EXPECT_FALSE(CourseRecord::isValidKey({"A", "", "09:30"}));

    course.instructor = "O'Brien";
    EXPECT_EQ(course.sqlFilter({"CourseInstructor", "CourseDate", "CourseTime"}, " AND "),
              "\"CourseInstructor\" = 'O''Brien'  AND  \"CourseDate\" = '2024-11-05'  AND  \"CourseTime\" = '09:30'");
    EXPECT_EQ(course.sqlFilter({}, "OR"),
              "\"Instructor\" = 'O''Brien' OR \"Date\" = '2024-11-05' OR \"Time\" = '09:30'");
    // The filter runs as it stands on the engine.
    addCourse("O'Brien", "2024-11-05", "09:30");
    addCourse("O'Brien", "2024-11-05", "10:30");
    CourseTable table(theDatabase);
    table.open(course.sqlFilter({}, "AND"));
    ASSERT_TRUE(table.isOpen);
    EXPECT_EQ(table.getColumnText("time"), "09:30");
    table.moveNext();
    EXPECT_TRUE(table.isEOF());
}

TEST_F(PersonCourseTables, aNewCourseIsStampedWithTodayAndNow)
{
    ScopedRecordTime fiveNovember(2024, 11, 5, 9, 7);
    CourseRecord course;
    EXPECT_EQ(course.date, "2024-11-05");
    EXPECT_EQ(course.time, "09:07");
    EXPECT_TRUE(course.instructor.empty() && course.defaultScenario.empty() && course.note.empty());
}

TEST_F(PersonCourseTables, renamingAndDeletingACourseMoveOrRemoveItsSessions)
{
    addCourse("O'Brien", "2024-11-05", "09:30");
    addCourse("Other", "2024-11-05", "09:30");
    addCourseSession("o'brien", "2024-11-05", "09:30", "mine");
    addCourseSession("O'Brien", "2024-11-05", "9:30", "other time");
    addCourseSession("Other", "2024-11-05", "09:30", "other course");
    CourseTable table(theDatabase);
    table.open("");
    EXPECT_EQ(table.countKey({"O'BRIEN", "2024-11-05", "09:30"}), 1);

    table.renameKey({"O'Brien", "2024-11-05", "09:30"}, {"O'Brien", "2024-11-06", "10:00"});
    EXPECT_EQ(column("Session", "CourseDate"), (std::vector<std::string>{"2024-11-06", "2024-11-05", "2024-11-05"}));
    EXPECT_EQ(column("Session", "CourseTime"), (std::vector<std::string>{"10:00", "9:30", "09:30"}));

    table.deleteKey({"O'Brien", "2024-11-05", "09:30"}, false);
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(count("Session"), 3);

    addCourse("O'Brien", "2024-11-06", "10:00");
    table.deleteKey({"o'brien", "2024-11-06", "10:00"}, true);
    EXPECT_EQ(column("Course", "Instructor"), (std::vector<std::string>{"Other"}));
    EXPECT_EQ(column("Session", "Note"), (std::vector<std::string>{"other time", "other course"}));
}

TEST_F(PersonCourseTables, theCourseComboListsDisplayTextsAndKeepsItsSelection)
{
    addCourse("Trainer A", "2024-11-05", "09:30");
    addCourse("Anna on Tour", "2024-12-01", "14:00");
    RecordingComboList combo;
    combo.items = {"Anna on Tour on 2024-12-01 at 14:00"};
    combo.selected = "Anna on Tour on 2024-12-01 at 14:00";
    CourseTable closed(theDatabase);
    closed.fillCourseComboBox(combo);
    EXPECT_TRUE(combo.items.empty());

    CourseTable table(theDatabase);
    table.open("");
    combo.items = {"Anna on Tour on 2024-12-01 at 14:00"};
    combo.selected = "Anna on Tour on 2024-12-01 at 14:00";
    table.fillCourseComboBox(combo);
    EXPECT_EQ(combo.items,
              (std::vector<std::string>{"Trainer A on 2024-11-05 at 09:30", "Anna on Tour on 2024-12-01 at 14:00"}));
    EXPECT_EQ(combo.selected, "Anna on Tour on 2024-12-01 at 14:00");
}

} // namespace
