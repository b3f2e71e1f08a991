#include "app/SessionRowStore.h"

#include "Database/Database.h"
#include "Database/DBUtil.h"
#include "Database/DataFileChange.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/SessionTable.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "app/Session.h"
#include "comm/CommSession.h"
#include "gettext/Gettext.h"
#include "platform/MessageBox.h"

namespace {

// Adds the row, or updates the row of the same serial identifier; the
// database's reason when it refused.
bool storeRow(const SessionRecord& record, std::string& reason)
{
    SessionTable table(theDatabase);
    table.open("\"Serialidentifier\" = ?", {SqlValue(record.Serialidentifier)});
    if (!table.isOpen) {
        reason = table.lastError();
        return false;
    }
    try {
        if (DBUtil::emptyTable(table))
            table.addNew();
        else
            table.edit();
        table.setRecord(record);
        if (table.update())
            return true;
        reason = table.lastError();
        table.cancelUpdate();
    } catch (const DatabaseError& error) {
        reason = error.what();
        table.cancelUpdate();
    }
    return false;
}

} // namespace

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
    record.Done = true;
    takeResults(record, session.getCommSession());
    std::string reason = "The database is not connected.\n";
    if (databaseOpen && theDatabase.isOpen()) {
        // The data file changes with the row: its new contents wait beside it
        // until the row is committed, so a kill at any moment leaves the old
        // row with the old file or the new row with the new one.
        DataFileChange file(record.dataFileName());
        DatabaseTransaction whole(theDatabase);
        if (storeRow(record, reason)) {
            const SessionRecord previous = session.getRecord();
            session.setRecord(record);
            if (!session.save(file)) {
                session.setRecord(previous);
                return false;
            }
            try {
                if (file.bindToRows(theDatabase, record.Serialidentifier, reason)) {
                    whole.commit();
                    file.commit();
                    TablePool::refresh(TableKind::Session);
                    return true;
                }
            } catch (const DatabaseError& error) {
                reason = error.what();
            }
        }
    }
    LogStream::instance() << "The session " << record.Serialidentifier << " was not stored: " << reason << "\n";
    platform::messageBox(
        formatWide(Gettext::translate("The session could not be stored in the database:\n%hs").c_str(), cStr(reason)),
        Gettext::translate("Problem saving session"), platform::MB_OK);
    return false;
}
