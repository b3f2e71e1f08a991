#pragma once
// The session manager's search over the finished sessions: the criteria a
// user sets (participant and instructor prefixes, a year, a month), the
// condition they make with every value bound as a parameter, and the rows
// of the list read with only the columns the list shows and the key.

#include "Database/SqlValue.h"

#include <string>
#include <vector>

class DatabaseConnection;

struct SessionSearchCriteria {
    // A name prefix matching either role of a session, in any letter case.
    std::string participant;
    // A name prefix of the course instructor, in any letter case.
    std::string instructor;
    // Entries of the year and month lists: 0 any, year 1 is 1999, month 1 January.
    int yearIndex = 0;
    int monthIndex = 0;
};

// One session as the list shows it, with its serial identifier as the key
// that leads back to its row.
struct SessionListRow {
    std::string serialIdentifier;
    std::string personVentilation;
    std::string personChestCompression;
    std::string courseDate;
    std::string startTime;
    std::string courseInstructor;
    std::string scenario;

    bool operator==(const SessionListRow&) const = default;
};

class SessionSearch {
public:
    static constexpr int FIRST_YEAR = 1999;
    static constexpr int LAST_YEAR = 2050;

    // A WHERE condition (without the word) and the values of its markers.
    struct Filter {
        std::string condition;
        std::vector<SqlValue> parameters;
    };

    // The condition of the criteria: finished sessions, the name prefixes as
    // LIKE patterns in which "%", "_" and the escape match only themselves,
    // and the date patterns of the year and month.
    static Filter buildFilter(const SessionSearchCriteria& criteria);
    // The LIKE pattern that narrows a case-insensitive prefix match against a
    // lower-cased column: letters A to Z lower-cased, the pattern characters
    // escaped with "\", every other character any one character; "%" last.
    // The database narrows, and the rows it gives are checked exactly here,
    // so every script folds alike on every engine.
    static std::string likePrefixPattern(const std::string& prefix);
    // The order of the list: instructor, date, start time, ventilation and
    // compression participant, then the order the rows were stored in.
    static std::string sortOrder();

    // The matching sessions in list order. False (with an empty list, a
    // line in the error log and the database's reason in `failure`) when the
    // database could not be asked.
    static bool find(DatabaseConnection& connection, const SessionSearchCriteria& criteria,
                     std::vector<SessionListRow>& rows, std::string* failure = nullptr);
};
