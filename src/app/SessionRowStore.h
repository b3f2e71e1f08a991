#pragma once
// Stores a finished session as its review panel does, for a session whose
// review has no window: the evaluation results go into the record, the record
// becomes the session's row of the table "Session" (a new row, or the stored
// row of the same serial identifier), the session takes it and writes its
// data file beside the old one, the row's change is committed, and only then
// does the new data file take its name (see DataFileChange).

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
};
