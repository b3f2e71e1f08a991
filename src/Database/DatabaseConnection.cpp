#include "Database/DatabaseConnection.h"

#include "Database/DatabaseError.h"
#include "Database/OdbcStatement.h"
#include "Rodezir/LogStream.h"

#include <sqlext.h>

#include <array>

namespace {
DatabaseConnection::Engine engineOf(SQLHDBC connection)
{
    std::array<SQLCHAR, 128> name{};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_DBMS_NAME, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                  &length)))
        return DatabaseConnection::Engine::Other;
    std::string text(reinterpret_cast<const char*>(name.data()));
    if (text.find("SQLite") != std::string::npos)
        return DatabaseConnection::Engine::SQLite;
    if (text.find("PostgreSQL") != std::string::npos)
        return DatabaseConnection::Engine::PostgreSQL;
    return DatabaseConnection::Engine::Other;
}
} // namespace

DatabaseConnection::~DatabaseConnection() { close(); }

bool DatabaseConnection::open(const std::string& connectString)
{
    close();
    lastError_.clear();
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment_))) {
        environment_ = SQL_NULL_HENV;
        lastError_ = "The ODBC environment could not be created.\n";
        return false;
    }
    SQLSetEnvAttr(environment_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLHDBC connection = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment_, &connection))) {
        lastError_ = odbcDiagnostics(SQL_HANDLE_ENV, environment_);
        close();
        return false;
    }
    std::array<SQLCHAR, 1024> completed{};
    SQLSMALLINT completedLength = 0;
    SQLRETURN result = SQLDriverConnect(connection, nullptr,
                                        reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectString.c_str())),
                                        static_cast<SQLSMALLINT>(connectString.size()), completed.data(),
                                        static_cast<SQLSMALLINT>(completed.size()), &completedLength,
                                        SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(result)) {
        lastError_ = odbcDiagnostics(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        close();
        return false;
    }
    connection_ = connection;
    transactionDepth_ = 0;
    engine_ = engineOf(connection_);
    return true;
}

void DatabaseConnection::close()
{
    if (connection_ != SQL_NULL_HDBC) {
        if (transactionDepth_ > 0)
            SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_ROLLBACK);
        SQLDisconnect(connection_);
        SQLFreeHandle(SQL_HANDLE_DBC, connection_);
        connection_ = SQL_NULL_HDBC;
    }
    if (environment_ != SQL_NULL_HENV) {
        SQLFreeHandle(SQL_HANDLE_ENV, environment_);
        environment_ = SQL_NULL_HENV;
    }
    transactionDepth_ = 0;
    engine_ = Engine::Other;
}

long long DatabaseConnection::execute(const std::string& sql, const std::vector<SqlValue>& parameters)
{
    if (!isOpen())
        throw DatabaseError("The database is not connected.\n");
    OdbcStatement statement(connection_);
    statement.execute(sql, parameters);
    return statement.affectedRows();
}

std::vector<DatabaseConnection::Row> DatabaseConnection::query(const std::string& sql,
                                                               const std::vector<SqlValue>& parameters,
                                                               const std::vector<SqlType>& columns)
{
    if (!isOpen())
        throw DatabaseError("The database is not connected.\n");
    OdbcStatement statement(connection_);
    statement.execute(sql, parameters);
    std::vector<Row> rows;
    while (statement.fetch()) {
        Row row;
        row.reserve(columns.size());
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(statement.column(static_cast<int>(i + 1), columns[i]));
        rows.push_back(std::move(row));
    }
    return rows;
}

void DatabaseConnection::setAutoCommit(bool on)
{
    SQLRETURN result = SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                                         reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF),
                                         SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(result))
        throw DatabaseError(odbcDiagnostics(SQL_HANDLE_DBC, connection_));
}

void DatabaseConnection::beginTransaction()
{
    if (!isOpen())
        throw DatabaseError("The database is not connected.\n");
    if (transactionDepth_ == 0) {
        setAutoCommit(false);
        rolledBack_ = false;
    }
    ++transactionDepth_;
}

void DatabaseConnection::commit()
{
    if (!isOpen() || transactionDepth_ == 0)
        return;
    if (--transactionDepth_ > 0)
        return;
    // A level inside that failed spoils the whole change, even when its
    // caller caught the error: nothing of it may be committed.
    if (rolledBack_) {
        endTransaction(SQL_ROLLBACK);
        throw DatabaseError("The change was undone because a part of it failed.\n");
    }
    SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT);
    if (!SQL_SUCCEEDED(result)) {
        // The engine's reason ("database or disk is full") is what the user
        // must hear, not what the rollback behind it may add.
        std::string text = odbcDiagnostics(SQL_HANDLE_DBC, connection_);
        endTransaction(SQL_ROLLBACK);
        throw DatabaseError(text);
    }
    // The change is committed: a refusal to go back to single statements
    // must not make the caller undo what it did beside the rows.
    restoreAutoCommit();
}

void DatabaseConnection::rollback()
{
    if (!isOpen() || transactionDepth_ == 0)
        return;
    if (--transactionDepth_ > 0) {
        rolledBack_ = true;
        return;
    }
    endTransaction(SQL_ROLLBACK);
}

void DatabaseConnection::endTransaction(SQLSMALLINT completion)
{
    transactionDepth_ = 0;
    rolledBack_ = false;
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection_, completion)) && engine_ == Engine::SQLite)
        resynchronise();
    restoreAutoCommit();
}

// SQLite ends a transaction on its own when the disk is full or a write
// fails; the driver still counts it as open, refuses every later end of a
// transaction ("no transaction is active") and lets each later statement
// commit by itself. A transaction begun here by hand is one the driver's
// rollback can end, and after it driver and engine agree again.
void DatabaseConnection::resynchronise()
{
    try {
        execute("BEGIN");
    } catch (const DatabaseError&) {
        // The engine still had its transaction: the rollback below ends it.
    }
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_ROLLBACK)))
        LogStream::instance() << "The database did not end a failed change: "
                              << odbcDiagnostics(SQL_HANDLE_DBC, connection_);
}

// Quiet: this runs on the way out of a failed change (also from a
// destructor), where the failure the user hears of has happened already.
void DatabaseConnection::restoreAutoCommit()
{
    const SQLRETURN result = SQLSetConnectAttr(connection_, SQL_ATTR_AUTOCOMMIT,
                                               reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(result))
        LogStream::instance() << "The database did not return to single statements: "
                              << odbcDiagnostics(SQL_HANDLE_DBC, connection_);
}
