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

// `removeOld` deletes the group through DBUtil; the new rows are added
// through the table's record set, which is reopened afterwards either way
// (a rolled-back add must not linger in its rows) and the table's kind
// refreshed. True when the new list is stored.
template <class Record, class Key>
bool replaceRows(DatabaseTable<Record, Key>& table, const std::function<void()>& removeOld,
                 const std::vector<Record>& rows)
{
    bool stored = true;
    try {
        DatabaseTransaction transaction(table.connection());
        removeOld();
        // A removal the database refused has told the user and spoilt the
        // change: the new rows must not be stored beside the old ones.
        if (table.connection().transactionFailed())
            stored = false;
        for (std::size_t i = 0; stored && i < rows.size(); ++i) {
            table.addNew();
            table.setRecord(rows[i]);
            if (!table.update())
                throw DatabaseError(table.lastError());
        }
        if (stored)
            transaction.commit();
    } catch (const DatabaseError& error) {
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
