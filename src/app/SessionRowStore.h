#pragma once
// Stores a finished session as its review panel does: the evaluation results
// go into the record, the record becomes the session's row of the table
// "Session" (a new row, or the stored row of the same serial identifier),
// then the session takes the stored record and writes its data file.

class CommSession;
class Session;
struct SessionRecord;

class SessionRowStore {
public:
    // The figures of the evaluation the row keeps, and the sample rate the
    // data file is read back at.
    static void takeResults(SessionRecord& record, const CommSession& data);
    // Stores `record` (the session's record as the review panel shows it) as
    // done, with the results. False, after telling the user, when the row or
    // the data file could not be stored.
    static bool store(Session& session, SessionRecord record);
};
