#pragma once
// The table "Session": stored sessions by serial identifier, and the
// sessions of a planned course in their course order.

#include "Database/CourseRecord.h"
#include "Database/DatabaseTable.h"
#include "Database/SessionRecord.h"

#include <set>
#include <string>
#include <vector>

class SessionTable : public DatabaseTable<SessionRecord> {
public:
    // How much of a course a write-back may change.
    enum class CourseScope {
        // The rows the window holds and removed, nothing else: other
        // stations may run the course's other rows (the run-course window).
        HeldRows,
        // The window plans the whole course: stored planned rows it does not
        // hold go too (the course planner).
        WholeCourse,
    };

    explicit SessionTable(DatabaseConnection& connection);
    ~SessionTable() override;

    std::string getColumnText(const std::string& column) override;
    // The current row; manikinText, linkType and data are not stored and come back empty.
    SessionRecord getRecord() override;
    void setRecord(const SessionRecord& record) override;
    // Nothing refers to a session.
    void renameKey(const std::string& oldKey, const std::string& newKey) override;
    void deleteKey(const std::string& serial, bool cascade) override;
    int countKey(const std::string& serial) override;

    // The sessions of a course in course order; the table keeps its own
    // filter and sort.
    std::vector<SessionRecord> findCourseSessions(const CourseKey& course);
    // Replaces the course's stored sessions by the list, giving each the
    // course key and its place as CourseOrder (in the caller's list too). All
    // or nothing: false (after telling the user) when the database refused,
    // and then the stored sessions are as they were.
    bool deleteCourseSessions(const CourseRecord& course, std::vector<SessionRecord>& sessions);
    // Writes back the rows a window holds of a course, in one change, by
    // their serial identifiers, touching only what that window changed:
    // `rows` (in course order) take the course key and their place as
    // CourseOrder, and a row that equals its copy in `read` (the rows as the
    // window last read or wrote them) is not written at all; a held row that
    // is no longer stored is added. `removed` are the rows the window removed
    // since: a planned one goes while it is planned, a finished one goes with
    // its data file (its removal was agreed to). A row that another station
    // finished is never made a planned one again: it stays as stored and the
    // list takes it. False, after telling the user, when the database
    // refused: nothing changed, no data file went. Runs as a change of its
    // own, never inside another one (the data files go when it commits).
    bool writeCourseSessions(const CourseRecord& course, std::vector<SessionRecord>& rows,
                             const std::vector<SessionRecord>& read, const std::vector<SessionRecord>& removed,
                             CourseScope scope);
    // The serial identifiers of every stored session, as the rows give them
    // (unchecked: a shared database's rows may name anything). Throws
    // DatabaseError when they cannot be read.
    static std::set<std::string> storedSerials(DatabaseConnection& connection);

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    // The stored column values of a record, in column order.
    std::vector<SqlValue> columnValues(const SessionRecord& record);
    // Stores a held row of the course by its identifier, or adds it when it
    // is not stored. False when another station finished it meanwhile and
    // `row` took the stored row instead.
    bool storeCourseRow(SessionRecord& row);
    void removeCourseRow(const SessionRecord& row);
    // The course's stored planned rows that none of `rows` names go.
    void removeUnheldPlannedRows(const CourseRecord& course, const std::vector<SessionRecord>& rows);

    SessionRecord row_{SessionRecord::Unstamped{}};
};
