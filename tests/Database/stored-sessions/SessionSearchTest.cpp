// The session manager's search on real tables: finished sessions only in the
// list's order, the year and month patterns, and name prefixes that match in
// any letter case, where "%", "_", "\" and quotes match only themselves and
// never reach the statement as text. Runs on SQLite and on PostgreSQL.

#include "StoredSessionsFixture.h"
#include "TablesFixture.h"

#include "Database/Database.h"
#include "Database/stored-sessions/SessionSearch.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class SessionSearchTest : public TablesFixture {
protected:
    std::vector<std::string> found(const SessionSearchCriteria& criteria)
    {
        std::vector<SessionListRow> rows;
        EXPECT_TRUE(SessionSearch::find(theDatabase, criteria, rows));
        std::vector<std::string> serials;
        for (const SessionListRow& row : rows)
            serials.push_back(row.serialIdentifier);
        return serials;
    }
    static SessionSearchCriteria participant(const std::string& name)
    {
        SessionSearchCriteria criteria;
        criteria.participant = name;
        return criteria;
    }
    static int yearIndex(int year) { return year - SessionSearch::FIRST_YEAR + 1; }
};

TEST_F(SessionSearchTest, withoutCriteriaEveryFinishedSessionInTheListsOrder)
{
    addStoredSession({"planned", "Ann", "Bob", "2024-01-01", "09:00", "Ida", "Basic", false});
    addStoredSession({"e", "Cid", "Ann", "2024-01-02", "09:00", "Ida", "Basic"});
    addStoredSession({"d", "Bob", "Cid", "2024-01-02", "09:00", "Ida", "Basic"});
    addStoredSession({"c", "Bob", "Ann", "2024-01-02", "09:00", "Ida", "Basic"});
    addStoredSession({"b", "Ann", "Bob", "2024-01-01", "14:30", "Ida", "Child"});
    addStoredSession({"a", "Zoe", "Zoe", "2025-03-03", "08:00", "Eve", "Basic"});

    std::vector<SessionListRow> rows;
    ASSERT_TRUE(SessionSearch::find(theDatabase, {}, rows));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0], (SessionListRow{"a", "Zoe", "Zoe", "2025-03-03", "08:00", "Eve", "Basic"}));
    EXPECT_EQ(found({}), (std::vector<std::string>{"a", "b", "c", "d", "e"}))
        << "instructor, date, start time, ventilation, then compression";
}

TEST_F(SessionSearchTest, yearAndMonthMatchTheirPartOfTheDate)
{
    addStoredSession({"2013-06", "Ann", "", "2013-06-14"});
    addStoredSession({"2013-07", "Ann", "", "2013-07-06"});
    addStoredSession({"2014-06", "Ann", "", "2014-06-13"});
    addStoredSession({"2012-06", "Ann", "", "2012-06-30"});
    struct Case {
        int year;
        int month;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {2013, 0, {"2013-07", "2013-06"}},
        {0, 6, {"2012-06", "2013-06", "2014-06"}},
        {2013, 6, {"2013-06"}},
        {2050, 0, {}},
    };
    for (const Case& c : cases) {
        SessionSearchCriteria criteria;
        criteria.yearIndex = c.year == 0 ? 0 : yearIndex(c.year);
        criteria.monthIndex = c.month;
        std::vector<std::string> serials = found(criteria);
        std::sort(serials.begin(), serials.end());
        std::vector<std::string> expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(serials, expected) << c.year << "-" << c.month;
    }
}

TEST_F(SessionSearchTest, namePrefixesIgnoreCaseAndMatchPatternCharactersOnlyThemselves)
{
    addStoredSession({"ann", "Ann", "Zoe"});
    addStoredSession({"anna", "Zoe", "anna"});
    addStoredSession({"annika", "ANNIKA", "Zoe"});
    addStoredSession({"percent", "Bob%s", ""});
    addStoredSession({"underscore", "Bob_x", ""});
    addStoredSession({"bobx", "BobX", ""});
    addStoredSession({"backslash", "C\\D", ""});
    addStoredSession({"cd", "CxD", ""});
    addStoredSession({"quote", "O'Neil", ""});
    addStoredSession({"oneal", "ONeal", ""});
    addStoredSession({"umlaut", "\u00D6berg", ""});
    addStoredSession({"other", "Oberg", ""});
    struct Case {
        std::string prefix;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"ann", {"ann", "anna", "annika"}},
        {"ANNA", {"anna"}},
        {"bob%", {"percent"}},
        {"bob_", {"underscore"}},
        {"c\\", {"backslash"}},
        {"O'Neil", {"quote"}},
        {"\u00F6", {"umlaut"}},
        {"x' OR '1'='1", {}},
        {"%", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> serials = found(participant(c.prefix));
        std::sort(serials.begin(), serials.end());
        std::vector<std::string> expected = c.expected;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(serials, expected) << c.prefix;
    }
}

TEST_F(SessionSearchTest, theInstructorPrefixAndTheParticipantNarrowTogether)
{
    addStoredSession({"1", "Ann", "", "2024-01-01", "10:00", "Ida Nilsen"});
    addStoredSession({"2", "Ann", "", "2024-01-01", "10:00", "Ivar"});
    addStoredSession({"3", "Bob", "", "2024-01-01", "10:00", "ida"});
    SessionSearchCriteria criteria;
    criteria.instructor = "IDA";
    std::vector<std::string> serials = found(criteria);
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (std::vector<std::string>{"1", "3"}));
    criteria.participant = "an";
    EXPECT_EQ(found(criteria), (std::vector<std::string>{"1"}));
}

TEST(SessionSearchFilter, namesAndDatesTravelAsParametersOnly)
{
    SessionSearchCriteria criteria;
    criteria.participant = "O'Neil";
    criteria.instructor = "Ida";
    criteria.yearIndex = 15;
    criteria.monthIndex = 6;
    const SessionSearch::Filter filter = SessionSearch::buildFilter(criteria);
    EXPECT_EQ(filter.condition.find("Neil"), std::string::npos);
    EXPECT_EQ(filter.condition.find("ida"), std::string::npos);
    EXPECT_EQ(filter.condition.find("2013"), std::string::npos);
    EXPECT_EQ(filter.parameters,
              (std::vector<SqlValue>{std::string("o'neil%"), std::string("o'neil%"), std::string("ida%"),
                                     std::string("2013-06-%")}));
    EXPECT_EQ(SessionSearch::buildFilter({}).condition, "\"Done\" <> 0");
    EXPECT_EQ(SessionSearch::likePrefixPattern("A%b_c\\\u00C9z"), "a\\%b\\_c\\\\_z%");
}

} // namespace
