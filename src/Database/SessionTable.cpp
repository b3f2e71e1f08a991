#include "Database/SessionTable.h"

#include "Database/ColumnName.h"
#include "Database/DBUtil.h"
#include "Database/DatabaseError.h"
#include "Database/RowReplacement.h"
#include "Database/SqlIdentifier.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

#include <new>

namespace {
const std::vector<std::string> SESSION_COURSE_COLUMNS = {"CourseInstructor", "CourseDate", "CourseTime"};
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
    long order = 0;
    for (SessionRecord& session : sessions) {
        session.CourseInstructor = course.instructor;
        session.CourseDate = course.date;
        session.CourseTime = course.time;
        session.CourseOrder = order++;
    }
    // A course must never keep both lists, nor lose the old one to a failed store.
    return replaceRows(
        *this, [&] { DBUtil::removeWhere(connection(), "Session", course.getKey(), SESSION_COURSE_COLUMNS); },
        sessions);
}
