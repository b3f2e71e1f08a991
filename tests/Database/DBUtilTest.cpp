// The statements that carry a key into other tables: values travel as
// parameters, names match ignoring case, other keys exactly, and a composite
// key moves or deletes only its own rows.

#include "RecordsFixture.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"

namespace {
struct CourseKey {
    std::string instructor, date, time;
    std::vector<KeyPart> keyParts() const
    {
        return {{instructor, TextMatch::IgnoringCase}, {date, TextMatch::Exact}, {time, TextMatch::Exact}};
    }
};

const std::vector<std::string> SESSION_COURSE_COLUMNS = {"CourseInstructor", "CourseDate", "CourseTime"};

class Cascades : public OpenRecordsFixture {
protected:
    void addSession(const std::string& id, const std::string& person, const CourseKey& course = {})
    {
        theDatabase.execute("INSERT INTO \"Session\" (\"Serialidentifier\", \"PersonVentilation\", "
                            "\"CourseInstructor\", \"CourseDate\", \"CourseTime\") VALUES (?, ?, ?, ?, ?)",
                            {id, person, course.instructor, course.date, course.time});
    }
};
} // namespace

TEST_F(Cascades, updateAndRemoveTouchOnlyRowsHoldingTheValueWhateverItHolds)
{
    const std::vector<std::string> people = {"O'Brien", "o'brien", "x' OR '1'='1", "Anna", "ÄRZTIN", "O'Brian"};
    for (std::size_t i = 0; i < people.size(); ++i)
        addSession("s" + std::to_string(i), people[i]);

    DBUtil::update(theDatabase, "Session", "PersonVentilation", "O'BRIEN", "Brien, Sean");
    DBUtil::update(theDatabase, "Session", "PersonVentilation", "x' OR '1'='1", "Hostile");
    DBUtil::update(theDatabase, "Session", "PersonVentilation", "ärztin", "Dr. Åsa");
    EXPECT_EQ(column("Session", "PersonVentilation"),
              (std::vector<std::string>{"Brien, Sean", "Brien, Sean", "Hostile", "Anna", "Dr. Åsa", "O'Brian"}));

    DBUtil::remove(theDatabase, "Session", "PersonVentilation", "hostile");
    DBUtil::remove(theDatabase, "Session", "PersonVentilation", "' OR ''='");
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{"s0", "s1", "s3", "s4", "s5"}));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(Cascades, exactKeysIgnoreRowsThatDifferOnlyInCase)
{
    addSession("a1b2c3d4e5f6g7", "");
    addSession("A1B2C3D4E5F6G7", "");
    DBUtil::remove(theDatabase, "Session", "Serialidentifier", "A1B2C3D4E5F6G7", TextMatch::Exact);
    EXPECT_EQ(column("Session", "Serialidentifier"), std::vector<std::string>{"a1b2c3d4e5f6g7"});
}

TEST_F(Cascades, compositeKeyMovesAndDeletesOnlyItsOwnSessions)
{
    const CourseKey course{"Anna O'Neil", "2024-11-05", "09:30"};
    addSession("same", "", course);
    addSession("case", "", {"ANNA O'NEIL", "2024-11-05", "09:30"});
    addSession("time", "", {"Anna O'Neil", "2024-11-05", "9:30"});
    addSession("date", "", {"Anna O'Neil", "2024-11-06", "09:30"});
    addSession("none", "");

    const CourseKey moved{"Berit", "2024-12-01", "10:00"};
    DBUtil::updateWhere(theDatabase, "Session", course, moved, SESSION_COURSE_COLUMNS);
    EXPECT_EQ(column("Session", "CourseInstructor"),
              (std::vector<std::string>{"Berit", "Berit", "Anna O'Neil", "Anna O'Neil", ""}));
    EXPECT_EQ(column("Session", "CourseTime"), (std::vector<std::string>{"10:00", "10:00", "9:30", "09:30", ""}));

    DBUtil::removeWhere(theDatabase, "Session", CourseKey{"berit", "2024-12-01", "10:00"}, SESSION_COURSE_COLUMNS);
    EXPECT_EQ(column("Session", "Serialidentifier"), (std::vector<std::string>{"time", "date", "none"}));
    EXPECT_TRUE(asker.asked.empty());
}

TEST_F(Cascades, aFailingStatementShowsTheDatabaseErrorAndChangesNothing)
{
    addSession("s1", "Anna");
    DBUtil::update(theDatabase, "Sessions", "PersonVentilation", "Anna", "Berit");
    DBUtil::remove(theDatabase, "NoSuchTable", "Name", "Anna");
    ASSERT_EQ(asker.asked.size(), 2u);
    EXPECT_EQ(asker.asked[0].text.rfind(L"An unexpected error occured while accessing the database:\n\n", 0), 0u);
    EXPECT_EQ(asker.asked[0].text.find(L"Unknown error"), std::wstring::npos);
    EXPECT_EQ(column("Session", "PersonVentilation"), std::vector<std::string>{"Anna"});
}
