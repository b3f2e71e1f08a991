#pragma once
// Replaces a group of rows of a table (a scenario's events, a course's
// sessions) by a new list in one transaction: the old rows go and the new
// ones come together, or nothing changes and the user is told why.

#include "Database/DBUtil.h"
#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTable.h"
#include "Database/DatabaseTransaction.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <vector>

// Runs `change` on the table's connection in one transaction. When the
// database refuses any part, all of it is undone and the user and the log
// are told why. The table is reopened afterwards either way (a rolled-back
// row must not linger in its rows) and the table's kind refreshed. True
// when the change is committed.
template <class Record, class Key>
bool changeRows(DatabaseTable<Record, Key>& table, const std::function<void()>& change)
{
    bool stored = true;
    try {
        DatabaseTransaction transaction(table.connection());
        change();
        // A part the database refused has told the user and spoilt the
        // change: nothing of it may be committed.
        if (table.connection().transactionFailed())
            stored = false;
        else
            transaction.commit();
    } catch (const DatabaseError& error) {
        LogStream::instance() << "A change of the table " << table.tableName() << " was undone: " << error.what();
        DBUtil::showError(error.what());
        stored = false;
    } catch (const std::exception&) {
        // Out of memory, or worse: told in the log, and the change is undone.
        constexpr bool FALSE = false;
        KOVA_ASSERT(FALSE);
        stored = false;
    }
    table.reopen();
    TablePool::refresh(table.kind());
    return stored;
}

// `removeOld` deletes the group through DBUtil; the new rows are added
// through the table's record set. True when the new list is stored.
template <class Record, class Key>
bool replaceRows(DatabaseTable<Record, Key>& table, const std::function<void()>& removeOld,
                 const std::vector<Record>& rows)
{
    return changeRows(table, [&] {
        removeOld();
        // A removal the database refused must not leave the new rows
        // stored beside the old ones.
        if (table.connection().transactionFailed())
            return;
        for (const Record& row : rows) {
            table.addNew();
            table.setRecord(row);
            if (!table.update())
                throw DatabaseError(table.lastError());
        }
    });
}
