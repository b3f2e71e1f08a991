#include "Database/SessionTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/stored-sessions/DataFileRemoval.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/RowReplacement.h"
#include "Database/SqlIdentifier.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

#include <algorithm>
#include <new>
#include <variant>

namespace {
const std::vector<std::string> SESSION_COURSE_COLUMNS = {"CourseInstructor", "CourseDate", "CourseTime"};

// A row of the course by its identifier. Date and time keep a row to its
// course even where an identifier was ever stored twice; the instructor,
// which the station compares ignoring case, needs nothing more.
std::string courseRowCondition(bool onlyPlanned)
{
    std::string condition = quoteIdentifier("Serialidentifier") + " = ? AND " + quoteIdentifier("CourseDate")
        + " = ? AND " + quoteIdentifier("CourseTime") + " = ?";
    if (onlyPlanned)
        condition += " AND " + quoteIdentifier("Done") + " = 0";
    return condition;
}

std::vector<SqlValue> courseRowParameters(const SessionRecord& row)
{
    return {row.Serialidentifier, row.CourseDate, row.CourseTime};
}

const SessionRecord* findSerial(const std::vector<SessionRecord>& rows, const std::string& serial)
{
    for (const SessionRecord& row : rows)
        if (row.Serialidentifier == serial)
            return &row;
    return nullptr;
}

void stampCourse(SessionRecord& row, const CourseRecord& course)
{
    row.CourseInstructor = course.instructor;
    row.CourseDate = course.date;
    row.CourseTime = course.time;
}

// The course's rows in their order: each takes the course key and its place.
void stampCourseOrder(std::vector<SessionRecord>& rows, const CourseRecord& course)
{
    long order = 0;
    for (SessionRecord& row : rows) {
        stampCourse(row, course);
        row.CourseOrder = order++;
    }
}
} // namespace

SessionTable::SessionTable(DatabaseConnection& connection) : DatabaseTable(connection, TableKind::Session) {}

SessionTable::~SessionTable() { TablePool::remove(this); }

void SessionTable::exchangeFields(FieldExchange& exchange)
{
    SessionRecord& r = row_;
    exchange.text("ApprovedBy", r.ApprovedBy);
    exchange.real("CompDepth", r.CompDepth);
    exchange.real("CompRelaxRatio", r.CompRelaxRatio);
    exchange.text("CourseDate", r.CourseDate);
    exchange.text("CourseInstructor", r.CourseInstructor);
    exchange.integer("CourseOrder", r.CourseOrder);
    exchange.text("CourseTime", r.CourseTime);
    exchange.flag("Done", r.Done);
    exchange.integer("Duration", r.Duration);
    exchange.real("ECCrate", r.ECCrate);
    exchange.text("EndTime", r.EndTime);
    exchange.integer("InitialVentilations", r.InitialVentilations);
    exchange.real("InterfaceFrequency", r.InterfaceFrequency);
    exchange.real("Leaning", r.Leaning);
    exchange.integer("Manikin", r.Manikin);
    exchange.flag("Metronome", r.Metronome);
    exchange.text("Note", r.Note);
    exchange.real("PauseECC", r.PauseECC);
    exchange.text("PersonChestCompression", r.PersonChestCompression);
    exchange.text("PersonVentilation", r.PersonVentilation);
    exchange.text("Scenario", r.Scenario);
    exchange.text("Serialidentifier", r.Serialidentifier);
    exchange.text("StartTime", r.StartTime);
    exchange.real("StomachInflation", r.StomachInflation);
    exchange.real("VentCompRatioComp", r.VentCompRatioComp);
    exchange.real("VentCompRatioVent", r.VentCompRatioVent);
    exchange.real("VentilationRate", r.VentilationRate);
    exchange.real("VentilationVolume", r.VentilationVolume);
    exchange.real("WrongHandPosition", r.WrongHandPosition);
    exchange.flag("RegisterEvents", r.RegisterEvents);
    exchange.text("Algorithm", r.Algorithm);
    exchange.integer("TrainingMode", r.TrainingMode);
    exchange.byte("Approved", r.Approved);
}

std::string SessionTable::getColumnText(const std::string& column)
{
    if (lowerColumnName(column) == "serialidentifier")
        return row_.Serialidentifier;
    KOVA_ASSERT(false);
    return {};
}

SessionRecord SessionTable::getRecord()
{
    SessionRecord record = row_;
    record.manikinText.clear();
    record.linkType = 0;
    record.data.clear();
    record.endMarker = SessionRecord::END_MARKER;
    return record;
}

void SessionTable::setRecord(const SessionRecord& record)
{
    row_ = record;
    row_.manikinText.clear();
    row_.data.clear();
}

void SessionTable::renameKey(const std::string&, const std::string&) {}

void SessionTable::deleteKey(const std::string& serial, bool)
{
    DBUtil::remove(connection(), "Session", "Serialidentifier", serial, TextMatch::Exact);
    TablePool::refresh(TableKind::Session);
}

int SessionTable::countKey(const std::string& serial)
{
    return countRows([&] { return row_.Serialidentifier == serial; });
}

std::vector<SessionRecord> SessionTable::findCourseSessions(const CourseKey& course)
{
    std::vector<SessionRecord> sessions;
    if (!isOpen)
        return sessions;
    const std::string keptFilter = filter;
    const std::vector<SqlValue> keptParameters = filterParameters;
    const std::string keptSort = sort;
    // Date and time narrow the query; the instructor is compared here,
    // ignoring case in every script as the rest of the station does.
    filter = quoteIdentifier("CourseDate") + " = ? AND " + quoteIdentifier("CourseTime") + " = ?";
    filterParameters = {course.date, course.time};
    sort = quoteIdentifier("CourseOrder") + ", " + quoteIdentifier("RowId");
    reopen();
    if (isCursorOpen() && !DBUtil::emptyTable(*this)) {
        DBUtil::moveFirst(*this);
        while (isCursorOpen() && !isEOF()) {
            if (textMatches(row_.CourseInstructor, course.instructor, TextMatch::IgnoringCase))
                sessions.push_back(getRecord());
            DBUtil::moveNext(*this);
        }
    }
    filter = keptFilter;
    filterParameters = keptParameters;
    sort = keptSort;
    reopen();
    return sessions;
}

bool SessionTable::deleteCourseSessions(const CourseRecord& course, std::vector<SessionRecord>& sessions)
{
    if (!isOpen)
        return false;
    stampCourseOrder(sessions, course);
    // A course must never keep both lists, nor lose the old one to a failed store.
    return replaceRows(
        *this, [&] { DBUtil::removeWhere(connection(), "Session", course.getKey(), SESSION_COURSE_COLUMNS); },
        sessions);
}

bool SessionTable::writeCourseSessions(const CourseRecord& course, std::vector<SessionRecord>& rows,
                                       const std::vector<SessionRecord>& read,
                                       const std::vector<SessionRecord>& removed, CourseScope scope)
{
    if (!isOpen)
        return false;
    stampCourseOrder(rows, course);
    std::vector<SessionRecord> going = removed;
    // The finished sessions that go take their data files with them: not
    // from a data folder of other records.
    const bool removesDataFiles =
        std::any_of(going.begin(), going.end(), [](const SessionRecord& row) { return row.Done; });
    if (removesDataFiles && !DataFolderOwner::permitsWritingOrTell())
        return false;
    DataFileRemoval dataFiles;
    for (SessionRecord& row : going) {
        stampCourse(row, course);
        if (row.Done)
            dataFiles.moveAside(row);
    }
    std::vector<SessionRecord> written = rows;
    const bool stored = changeRows(*this, [&] {
        for (const SessionRecord& row : going)
            removeCourseRow(row);
        for (SessionRecord& row : written) {
            const SessionRecord* before = findSerial(read, row.Serialidentifier);
            if (before && columnValues(*before) == columnValues(row))
                continue;
            storeCourseRow(row);
        }
        if (scope == CourseScope::WholeCourse)
            removeUnheldPlannedRows(course, written);
    });
    dataFiles.settle(stored);
    if (stored)
        rows = std::move(written);
    return stored;
}

std::vector<SqlValue> SessionTable::columnValues(const SessionRecord& record)
{
    row_ = record;
    FieldExchange exchange(FieldExchange::Mode::Store);
    exchangeFields(exchange);
    return exchange.values();
}

bool SessionTable::storeCourseRow(SessionRecord& row)
{
    FieldExchange names(FieldExchange::Mode::Describe);
    exchangeFields(names);
    std::string assignments;
    std::string columns;
    std::string markers;
    for (const FieldExchange::Column& column : names.columns()) {
        const bool first = assignments.empty();
        assignments += (first ? "" : ", ") + quoteIdentifier(column.name) + " = ?";
        columns += (first ? "" : ", ") + quoteIdentifier(column.name);
        markers += first ? "?" : ", ?";
    }
    const std::vector<SqlValue> values = columnValues(row);
    const std::vector<SqlValue> where = courseRowParameters(row);
    std::vector<SqlValue> parameters = values;
    parameters.insert(parameters.end(), where.begin(), where.end());
    // A planned row only overwrites a planned row: the guard is part of the
    // statement, so a station that finishes the row while this one waits
    // for it still wins.
    const std::string table = quoteIdentifier("Session");
    if (connection().execute("UPDATE " + table + " SET " + assignments + " WHERE " + courseRowCondition(!row.Done),
                             parameters)
        > 0)
        return true;
    if (!row.Done) {
        SessionTable stored(connection());
        stored.open(courseRowCondition(false), where);
        if (stored.isOpen && !DBUtil::emptyTable(stored)) {
            LogStream::instance() << "The course row " << row.Serialidentifier
                                  << " was finished on another station; its stored result is kept.\n";
            row = stored.getRecord();
            return false;
        }
    }
    connection().execute("INSERT INTO " + table + " (" + columns + ") VALUES (" + markers + ")", values);
    return true;
}

void SessionTable::removeCourseRow(const SessionRecord& row)
{
    // A row that was planned when it was removed goes only while it still is.
    connection().execute("DELETE FROM " + quoteIdentifier("Session") + " WHERE " + courseRowCondition(!row.Done),
                         courseRowParameters(row));
}

void SessionTable::removeUnheldPlannedRows(const CourseRecord& course, const std::vector<SessionRecord>& rows)
{
    const auto stored = connection().query(
        "SELECT " + quoteIdentifier("RowId") + ", " + quoteIdentifier("Serialidentifier") + ", "
            + quoteIdentifier("CourseInstructor") + " FROM " + quoteIdentifier("Session") + " WHERE "
            + quoteIdentifier("CourseDate") + " = ? AND " + quoteIdentifier("CourseTime") + " = ? AND "
            + quoteIdentifier("Done") + " = 0",
        {course.date, course.time}, {SqlType::Integer, SqlType::Text, SqlType::Text});
    const std::string sql = "DELETE FROM " + quoteIdentifier("Session") + " WHERE " + quoteIdentifier("RowId")
        + " = ? AND " + quoteIdentifier("Done") + " = 0";
    for (const DatabaseConnection::Row& found : stored) {
        const auto* serial = std::get_if<std::string>(&found[1]);
        const auto* instructor = std::get_if<std::string>(&found[2]);
        if (!instructor || !textMatches(*instructor, course.instructor, TextMatch::IgnoringCase))
            continue;
        if (serial && findSerial(rows, *serial))
            continue;
        connection().execute(sql, {found[0]});
    }
}

std::set<std::string> SessionTable::storedSerials(DatabaseConnection& connection)
{
    std::set<std::string> serials;
    for (const auto& row :
         connection.query("SELECT " + quoteIdentifier("Serialidentifier") + " FROM " + quoteIdentifier("Session"), {},
                          {SqlType::Text})) {
        if (const auto* serial = std::get_if<std::string>(&row.front()))
            serials.insert(*serial);
    }
    return serials;
}
