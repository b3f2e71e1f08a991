#include "Database/stored-sessions/RecordsIdentity.h"

#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/LogStream.h"

#include <sqlext.h>

#include <array>
#include <random>

namespace {

// Stations racing to make the identity of one database: the loser of the
// table's creation or of the row's insert reads the winner's.
constexpr int ENSURE_TRIES = 3;

std::string table() { return quoteIdentifier(RecordsIdentity::TABLE); }

// A single row: its row id can only be 1.
std::string createStatement(DatabaseConnection::Engine engine)
{
    const char* rowId = engine == DatabaseConnection::Engine::PostgreSQL ? "BIGINT" : "INTEGER";
    return "CREATE TABLE IF NOT EXISTS " + table() + " (" + quoteIdentifier("RowId") + " " + rowId
           + " PRIMARY KEY CHECK (" + quoteIdentifier("RowId") + " = 1), " + quoteIdentifier("Identity")
           + " TEXT NOT NULL)";
}

bool tableExists(DatabaseConnection& records)
{
    std::string sql;
    switch (records.engine()) {
    case DatabaseConnection::Engine::SQLite:
        sql = "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?";
        break;
    case DatabaseConnection::Engine::PostgreSQL:
        sql = "SELECT COUNT(*) FROM pg_tables WHERE schemaname = current_schema() AND tablename = ?";
        break;
    case DatabaseConnection::Engine::Other:
        return true;
    }
    const auto rows = records.query(sql, {std::string(RecordsIdentity::TABLE)}, {SqlType::Integer});
    const auto* count = rows.empty() ? nullptr : std::get_if<long long>(&rows.front().front());
    return count && *count > 0;
}

std::string infoText(DatabaseConnection& records, SQLUSMALLINT kind)
{
    std::array<SQLCHAR, 512> text{};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(records.handle(), kind, text.data(), static_cast<SQLSMALLINT>(text.size()), &length)))
        return {};
    return reinterpret_cast<const char*>(text.data());
}

} // namespace

std::string RecordsIdentity::read(DatabaseConnection& records)
{
    if (!tableExists(records))
        return {};
    const auto rows = records.query("SELECT " + quoteIdentifier("Identity") + " FROM " + table() + " WHERE "
                                        + quoteIdentifier("RowId") + " = 1",
                                    {}, {SqlType::Text});
    const auto* identity = rows.empty() ? nullptr : std::get_if<std::string>(&rows.front().front());
    if (!identity || !isIdentity(*identity))
        return {};
    return *identity;
}

std::string RecordsIdentity::ensure(DatabaseConnection& records)
{
    std::string reason;
    for (int attempt = 0; attempt < ENSURE_TRIES; ++attempt) {
        try {
            if (std::string identity = read(records); !identity.empty())
                return identity;
            if (!tableExists(records))
                records.execute(createStatement(records.engine()));
            // A row that is there (another station's, or one that is no
            // identity) stays: only an empty table takes this one.
            records.execute("INSERT INTO " + table() + " (" + quoteIdentifier("RowId") + ", "
                                + quoteIdentifier("Identity") + ") VALUES (1, ?) ON CONFLICT DO NOTHING",
                            {draw()});
        } catch (const DatabaseError& error) {
            reason = error.what();
        }
    }
    try {
        if (std::string identity = read(records); !identity.empty())
            return identity;
        if (reason.empty())
            reason = "the table " + std::string(TABLE) + " holds no identity.\n";
    } catch (const DatabaseError& error) {
        reason = error.what();
    }
    LogStream::instance() << "The records database has no identity, so the data folder's records cannot be told: "
                          << reason;
    return {};
}

std::string RecordsIdentity::draw()
{
    static const char* const DIGITS = "0123456789abcdef";
    std::random_device source;
    std::string identity;
    while (identity.size() < LENGTH) {
        unsigned value = source();
        for (int i = 0; i < 8 && identity.size() < LENGTH; ++i, value >>= 4)
            identity += DIGITS[value & 0xF];
    }
    return identity;
}

bool RecordsIdentity::isIdentity(std::string_view text)
{
    return text.size() == LENGTH && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::string RecordsIdentity::databaseOf(DatabaseConnection& records)
{
    if (!records.isOpen())
        return {};
    const std::string engine = infoText(records, SQL_DBMS_NAME);
    const std::string database = infoText(records, SQL_DATABASE_NAME);
    const std::string server = infoText(records, SQL_SERVER_NAME);
    std::string text = engine.empty() ? std::string("database") : engine + " database";
    if (!database.empty())
        text += " " + database;
    if (!server.empty() && server != database)
        text += " on " + server;
    return engine.empty() && database.empty() ? std::string() : text;
}
