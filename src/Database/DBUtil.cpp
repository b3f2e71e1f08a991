#include "Database/DBUtil.h"

#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/DatabaseTransaction.h"
#include "Database/RecordSet.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"

#include <functional>
#include <new>

namespace {
constexpr int OPEN_TRIES = 3;
constexpr std::uint32_t OPEN_RETRY_DELAY_MS = 1000;
constexpr bool FALSE = false;

// Runs a change, reporting a database failure in the error box and running
// out of memory in the error log; the caller carries on either way.
void guarded(const std::function<void()>& change)
{
    try {
        change();
    } catch (const DatabaseError& error) {
        DBUtil::showError(error.what());
    } catch (const std::bad_alloc&) {
        KOVA_ASSERT(FALSE);
    }
}

// The row ids of the rows whose key columns hold the key as the system
// compares it. Exact fields narrow the query in the database; fields that
// ignore case are compared here, so every script folds the same way on every
// engine.
std::vector<SqlValue> matchingRows(DatabaseConnection& connection, const std::string& table,
                                   const std::vector<std::string>& columns, const std::vector<KeyPart>& key)
{
    if (columns.size() != key.size() || columns.empty())
        throw DatabaseError("The key does not fit its columns.\n");
    std::string select = "SELECT " + quoteIdentifier("RowId");
    std::string where;
    std::vector<SqlValue> parameters;
    std::vector<SqlType> types{SqlType::Integer};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        select += ", " + quoteIdentifier(columns[i]);
        types.push_back(SqlType::Text);
        if (key[i].match == TextMatch::Exact) {
            where += (where.empty() ? " WHERE " : " AND ") + quoteIdentifier(columns[i]) + " = ?";
            parameters.emplace_back(key[i].value);
        }
    }
    std::vector<SqlValue> ids;
    for (const auto& row : connection.query(select + " FROM " + quoteIdentifier(table) + where, parameters, types)) {
        bool matches = true;
        for (std::size_t i = 0; i < key.size() && matches; ++i) {
            const auto* text = std::get_if<std::string>(&row[i + 1]);
            matches = textMatches(text ? *text : std::string(), key[i].value, key[i].match);
        }
        if (matches)
            ids.push_back(row.front());
    }
    return ids;
}
} // namespace

bool DBUtil::Open(RecordSet& table, const std::string& tableName)
{
    for (int attempt = 0; attempt < OPEN_TRIES; ++attempt) {
        bool opened = false;
        try {
            opened = table.open(tableName);
        } catch (const DatabaseError&) {
            continue;
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (opened) {
            KOVA_ASSERT(table.isCursorOpen());
            return true;
        }
        LogStream::instance() << "DBUtil::Open(" << tableName << "): " << table.lastError();
        // The server could not be reached again: waiting a second changes
        // nothing, and the station would only freeze for every table.
        if (table.connection().connectionLost())
            return false;
        platform::Clock::instance().sleep(OPEN_RETRY_DELAY_MS);
    }
    return false;
}

bool DBUtil::emptyTable(const RecordSet& table) { return !table.isCursorOpen() || (table.isBOF() && table.isEOF()); }

void DBUtil::moveFirst(RecordSet& table)
{
    if (!emptyTable(table))
        guarded([&] { table.moveFirst(); });
}

void DBUtil::moveLast(RecordSet& table)
{
    if (!emptyTable(table))
        guarded([&] { table.moveLast(); });
}

void DBUtil::moveNext(RecordSet& table)
{
    if (table.isCursorOpen() && !table.isEOF())
        guarded([&] { table.moveNext(); });
}

void DBUtil::movePrev(RecordSet& table)
{
    if (table.isCursorOpen() && !table.isBOF())
        guarded([&] { table.movePrev(); });
}

void DBUtil::update(DatabaseConnection& connection, const std::string& table, const std::string& column,
                    const std::string& oldValue, const std::string& newValue, TextMatch match)
{
    updateParts(connection, table, {column}, {{oldValue, match}}, {{newValue, match}});
}

void DBUtil::remove(DatabaseConnection& connection, const std::string& table, const std::string& column,
                    const std::string& value, TextMatch match)
{
    removeParts(connection, table, {column}, {{value, match}});
}

void DBUtil::updateParts(DatabaseConnection& connection, const std::string& table,
                         const std::vector<std::string>& columns, const std::vector<KeyPart>& oldKey,
                         const std::vector<KeyPart>& newKey)
{
    // Without a database there is nothing to change, and nothing to report;
    // inside a change that already failed, nothing more to say.
    if (!connection.isOpen() || connection.transactionFailed())
        return;
    guarded([&] {
        if (newKey.size() != columns.size())
            throw DatabaseError("The key does not fit its columns.\n");
        std::string assignments;
        for (const auto& column : columns)
            assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(column) + " = ?";
        std::string sql = "UPDATE " + quoteIdentifier(table) + " SET " + assignments + " WHERE "
            + quoteIdentifier("RowId") + " = ?";
        DatabaseTransaction transaction(connection);
        for (const SqlValue& id : matchingRows(connection, table, columns, oldKey)) {
            std::vector<SqlValue> parameters;
            for (const auto& part : newKey)
                parameters.emplace_back(part.value);
            parameters.push_back(id);
            connection.execute(sql, parameters);
        }
        transaction.commit();
    });
}

void DBUtil::removeParts(DatabaseConnection& connection, const std::string& table,
                         const std::vector<std::string>& columns, const std::vector<KeyPart>& key)
{
    if (!connection.isOpen() || connection.transactionFailed())
        return;
    guarded([&] {
        std::string sql = "DELETE FROM " + quoteIdentifier(table) + " WHERE " + quoteIdentifier("RowId") + " = ?";
        DatabaseTransaction transaction(connection);
        for (const SqlValue& id : matchingRows(connection, table, columns, key))
            connection.execute(sql, {id});
        transaction.commit();
    });
}

std::string DBUtil::quote(const std::string& text)
{
    std::string quoted;
    quoted.reserve(text.size());
    for (char c : text) {
        if (c == '\'')
            quoted += '\'';
        quoted += c;
    }
    return quoted;
}

void DBUtil::showError(const std::string& errorText)
{
    const std::string logged = errorText.empty() ? std::string("Unknown error") : errorText;
    LogStream::instance() << "Database error: " << logged << (logged.back() == '\n' ? "" : "\n");
    // The driver's own text is shown as it came, untranslated.
    std::wstring message = Gettext::translate("An unexpected error occured while accessing the database:\n\n");
    message += toWide(errorText.empty() ? std::string("Unknown error\n") : errorText, CP_ACP);
    message += Gettext::translate("\nPlease try to correct the problem yourself, or contact support for further help.");
    platform::messageBox(message, L"Kova CPR Software", platform::MB_OK | platform::MB_ICONWARNING);
}
