#pragma once
// Stores a finished session as its review panel does, for a session whose
// review has no window: the evaluation results go into the record, the record
// becomes the session's row of the table "Session" (a new row, or the row the
// session may change: its own earlier store, or the planned course row it was
// started from), the session takes it and writes its data file, and only then
// is the row's change committed. A row of another session under the same
// identifier is never changed: the session draws a new identifier instead.

#include <string>

class CommSession;
class Session;
struct SessionRecord;

class SessionRowStore {
public:
    // The figures of the evaluation the row keeps, and the sample rate the
    // data file is read back at. The session is evaluated here: one stored
    // without its debriefing ever shown has never been evaluated.
    static void takeResults(SessionRecord& record, CommSession& data);
    // Stores `record` (the session's record as the review panel shows it) as
    // done, with the results. False, after telling the user, when the row or
    // the data file could not be stored; then the table is as it was.
    static bool store(Session& session, SessionRecord record);

    // Whether the session may change the stored `row` of its record's
    // identifier: the row it stored itself, or the planned (not done) row of
    // the record's own course.
    static bool mayOverwrite(const Session& session, const SessionRecord& record, const SessionRecord& row);
    // A stored row holds the record's identifier and the session may not
    // change it (nor, without a row, may a data file of that name be replaced).
    static bool takenByAnother(const Session& session, const SessionRecord& record);
};
