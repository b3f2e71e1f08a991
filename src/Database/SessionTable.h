#pragma once
// The table "Session": stored sessions by serial identifier, and the
// sessions of a planned course in their course order.

#include "Database/CourseRecord.h"
#include "Database/DatabaseTable.h"
#include "Database/SessionRecord.h"

#include <vector>

class SessionTable : public DatabaseTable<SessionRecord> {
public:
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

protected:
    void exchangeFields(FieldExchange& exchange) override;

private:
    SessionRecord row_{SessionRecord::Unstamped{}};
};
