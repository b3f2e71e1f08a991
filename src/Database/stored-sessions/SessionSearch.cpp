#include "Database/stored-sessions/SessionSearch.h"

#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/SqlIdentifier.h"
#include "Database/TextMatch.h"
#include "Rodezir/LogStream.h"

#include <cstdio>

namespace {

// The columns the list shows, after the key, in the order of SessionListRow.
const char* const LIST_COLUMNS[] = {"Serialidentifier", "PersonVentilation", "PersonChestCompression", "CourseDate",
                                    "StartTime",        "CourseInstructor",  "Scenario"};

std::string zeroPadded(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

std::string lowerLike(const char* column) { return "LOWER(" + quoteIdentifier(column) + ") LIKE ? ESCAPE '\\'"; }

std::string take(SqlValue& value)
{
    auto* string = std::get_if<std::string>(&value);
    return string ? std::move(*string) : std::string();
}

} // namespace

std::string SessionSearch::likePrefixPattern(const std::string& prefix)
{
    std::string pattern;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto c = static_cast<unsigned char>(prefix[i]);
        if (c >= 0x80) {
            // One character of any case for the whole UTF-8 sequence.
            while (i + 1 < prefix.size() && (static_cast<unsigned char>(prefix[i + 1]) & 0xC0) == 0x80)
                ++i;
            pattern += '_';
            continue;
        }
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    }
    return pattern + '%';
}

SessionSearch::Filter SessionSearch::buildFilter(const SessionSearchCriteria& criteria)
{
    Filter filter;
    filter.condition = quoteIdentifier("Done") + " <> 0";
    if (!criteria.participant.empty()) {
        const std::string pattern = likePrefixPattern(criteria.participant);
        filter.condition += " AND (" + lowerLike("PersonVentilation") + " OR " + lowerLike("PersonChestCompression") + ")";
        filter.parameters.insert(filter.parameters.end(), {pattern, pattern});
    }
    if (!criteria.instructor.empty()) {
        filter.condition += " AND " + lowerLike("CourseInstructor");
        filter.parameters.emplace_back(likePrefixPattern(criteria.instructor));
    }
    const bool anyYear = criteria.yearIndex < 1;
    const bool anyMonth = criteria.monthIndex < 1;
    if (!anyYear || !anyMonth) {
        const std::string year = anyYear ? "%" : zeroPadded(criteria.yearIndex + FIRST_YEAR - 1, 4);
        const std::string month = anyMonth ? "%" : zeroPadded(criteria.monthIndex, 2);
        filter.condition += " AND " + quoteIdentifier("CourseDate") + " LIKE ?";
        filter.parameters.emplace_back(year + "-" + month + "-%");
    }
    return filter;
}

std::string SessionSearch::sortOrder()
{
    std::string order;
    for (const char* column :
         {"CourseInstructor", "CourseDate", "StartTime", "PersonVentilation", "PersonChestCompression", "RowId"})
        order += (order.empty() ? "" : ", ") + quoteIdentifier(column);
    return order;
}

bool SessionSearch::find(DatabaseConnection& connection, const SessionSearchCriteria& criteria,
                         std::vector<SessionListRow>& rows, std::string* failure)
{
    rows.clear();
    if (!connection.isOpen()) {
        if (failure)
            *failure = "The database is not connected.\n";
        return false;
    }
    const Filter filter = buildFilter(criteria);
    std::string columns;
    std::vector<SqlType> types;
    for (const char* column : LIST_COLUMNS) {
        columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column);
        types.push_back(SqlType::Text);
    }
    const std::string sql = "SELECT " + columns + " FROM " + quoteIdentifier("Session") + " WHERE "
        + filter.condition + " ORDER BY " + sortOrder();
    std::vector<DatabaseConnection::Row> fetched;
    try {
        fetched = connection.query(sql, filter.parameters, types);
    } catch (const DatabaseError& error) {
        LogStream::instance() << "SessionSearch::find: " << error.what();
        if (failure)
            *failure = error.what();
        return false;
    }
    rows.reserve(fetched.size());
    for (DatabaseConnection::Row& row : fetched) {
        SessionListRow session{take(row[0]), take(row[1]), take(row[2]), take(row[3]),
                               take(row[4]), take(row[5]), take(row[6])};
        if (!criteria.participant.empty()
            && !textStartsWith(session.personVentilation, criteria.participant, TextMatch::IgnoringCase)
            && !textStartsWith(session.personChestCompression, criteria.participant, TextMatch::IgnoringCase))
            continue;
        if (!criteria.instructor.empty()
            && !textStartsWith(session.courseInstructor, criteria.instructor, TextMatch::IgnoringCase))
            continue;
        rows.push_back(std::move(session));
    }
    return true;
}
