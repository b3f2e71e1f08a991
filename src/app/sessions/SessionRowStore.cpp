#include "app/sessions/SessionRowStore.h"

#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/SessionTable.h"
#include "Database/SqlIdentifier.h"
#include "Database/TablePool.h"
#include "Database/stored-sessions/DataFileChange.h"
#include "Database/stored-sessions/DataFolderOwner.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "app/sessions/Session.h"
#include "comm/session/CommSession.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

namespace {

// Stations seeded alike draw alike, so the identifier drawn next may be
// taken by the time it is stored; a store draws this many before it gives up.
constexpr int IDENTIFIER_TRIES = 50;

enum class RowOutcome { Stored, Taken, Failed };

bool storedItself(const Session& session, const std::string& serial)
{
    return !session.getStoredSerial().empty() && session.getStoredSerial() == serial;
}

// With no row of the record's identifier: a data file of that name still
// belongs to someone (a station sharing the data folder that is storing it
// right now), unless the session wrote it itself.
bool dataFileTakenByAnother(const Session& session, const SessionRecord& record)
{
    return !storedItself(session, record.Serialidentifier)
           && SessionRecord::serialIdentifierTaken(record.Serialidentifier);
}

// Inside the open transaction: adds the record as a new row, or changes the
// row of its identifier when the session may; Taken when the identifier
// belongs to another session. `adding` tells which it tried.
RowOutcome storeRow(const Session& session, const SessionRecord& record, bool& adding, std::string& reason)
{
    SessionTable table(theDatabase);
    table.open(quoteIdentifier("Serialidentifier") + " = ?", {SqlValue(record.Serialidentifier)});
    if (!table.isOpen) {
        reason = table.lastError();
        return RowOutcome::Failed;
    }
    try {
        adding = DBUtil::emptyTable(table);
        if (adding ? dataFileTakenByAnother(session, record)
                   : !SessionRowStore::mayOverwrite(session, record, table.getRecord()))
            return RowOutcome::Taken;
        if (adding)
            table.addNew();
        else
            table.edit();
        table.setRecord(record);
        if (table.update())
            return RowOutcome::Stored;
        reason = table.lastError();
        table.cancelUpdate();
    } catch (const DatabaseError& error) {
        reason = error.what();
        table.cancelUpdate();
    }
    return RowOutcome::Failed;
}

bool sameCourse(const SessionRecord& a, const SessionRecord& b)
{
    return a.CourseInstructor == b.CourseInstructor && a.CourseDate == b.CourseDate && a.CourseTime == b.CourseTime;
}

} // namespace

bool SessionRowStore::mayOverwrite(const Session& session, const SessionRecord& record, const SessionRecord& row)
{
    if (storedItself(session, row.Serialidentifier))
        return true;
    // The planned row a course session was started from: not run yet, and
    // of a course (a session outside courses has no instructor in its key).
    return !row.Done && !row.CourseInstructor.empty() && sameCourse(row, record);
}

bool SessionRowStore::takenByAnother(const Session& session, const SessionRecord& record)
{
    if (storedItself(session, record.Serialidentifier))
        return false;
    SessionTable table(theDatabase);
    table.open(quoteIdentifier("Serialidentifier") + " = ?", {SqlValue(record.Serialidentifier)});
    if (table.isOpen && !DBUtil::emptyTable(table))
        return !mayOverwrite(session, record, table.getRecord());
    return dataFileTakenByAnother(session, record);
}

void SessionRowStore::takeResults(SessionRecord& record, CommSession& data)
{
    data.evaluate();
    record.InitialVentilations = data.getNrInitialVentilations();
    record.VentilationRate = data.getVentFreqAverage();
    record.VentilationVolume = data.getVentVolumeAverage();
    record.ECCrate = data.getCompFreqAverage();
    record.CompRelaxRatio = data.getCompRelaxRatio();
    record.CompDepth = data.getCompDepthAverage();
    record.VentCompRatioVent = data.getVentPerCycleAverage();
    record.VentCompRatioComp = data.getCompPerCycleAverage();
    record.InterfaceFrequency = data.sampleRate;
    record.PauseECC = data.getPauseAverage();
    record.StomachInflation = data.getNrStomachInflations();
    record.WrongHandPosition = data.getNrWrongHandPositions();
    record.Leaning = data.getNrLeanings();
}

bool SessionRowStore::store(Session& session, SessionRecord record)
{
    // A data folder of other records takes nothing: the session stays as it
    // is, to be stored once the station has a folder of its own.
    if (!DataFolderOwner::permitsWritingOrTell())
        return false;
    record.Done = true;
    takeResults(record, session.getCommSession());
    std::string reason = "The database is not connected.\n";
    bool repeated = false;
    for (int attempt = 0; attempt < IDENTIFIER_TRIES && databaseOpen && theDatabase.isOpen(); ++attempt) {
        RowOutcome outcome = RowOutcome::Failed;
        bool adding = false;
        const int reconnects = theDatabase.reconnectAttempts();
        try {
            // The data file changes with the row: its new contents wait beside
            // it until the row is committed, so a kill at any moment leaves the
            // old row with the old file or the new row with the new one.
            DataFileChange file(record.dataFileName());
            DatabaseTransaction whole(theDatabase);
            outcome = storeRow(session, record, adding, reason);
            if (outcome == RowOutcome::Stored) {
                const SessionRecord previous = session.getRecord();
                session.setRecord(record);
                if (!session.save(file)) {
                    session.setRecord(previous);
                    return false;
                }
                if (file.bindToRows(theDatabase, record.Serialidentifier, reason)) {
                    whole.commit();
                    file.commit();
                    TablePool::refresh(TableKind::Session);
                    return true;
                }
                session.setRecord(previous);
                outcome = RowOutcome::Failed;
            }
        } catch (const DatabaseError& error) {
            reason = error.what();
            outcome = RowOutcome::Failed;
        }
        // Another station stored a session under the identifier since it was
        // drawn (its new row came first, so this one was refused).
        if (outcome == RowOutcome::Taken || (adding && takenByAnother(session, record))) {
            LogStream::instance() << "The session identifier " << record.Serialidentifier
                                  << " is another session's; the session is stored under a new one.\n";
            reason = "No free session identifier was found.\n";
            record.newSerialIdentifier();
            continue;
        }
        // The connection went in the middle of the store, too late to be made
        // again under it: the whole store once more on a new one.
        if (theDatabase.connectionLost() && !repeated && theDatabase.reconnectAttempts() == reconnects) {
            repeated = true;
            continue;
        }
        break;
    }
    LogStream::instance() << "The session " << record.Serialidentifier << " was not stored: " << reason << "\n";
    platform::messageBox(
        formatWide(Gettext::translate("The session could not be stored in the database:\n%hs").c_str(), cStr(reason)),
        Gettext::translate("Problem saving session"), platform::MB_OK);
    return false;
}
