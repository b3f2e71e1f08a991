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

// The SQLSTATE of a handle's first diagnostic record; empty without one.
std::string firstState(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::array<SQLCHAR, 6> state{};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, 1, state.data(), &nativeError, nullptr, 0, &length)))
        return {};
    return reinterpret_cast<const char*>(state.data());
}

// A new environment and connection on the connect string; both stay null
// (with the driver's reason and state) when it fails.
bool connectTo(const std::string& connectString, SQLHENV& environment, SQLHDBC& connection, std::string& error,
               std::string& state)
{
    environment = SQL_NULL_HENV;
    connection = SQL_NULL_HDBC;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &environment))) {
        environment = SQL_NULL_HENV;
        error = "The ODBC environment could not be created.\n";
        return false;
    }
    SQLSetEnvAttr(environment, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, environment, &connection))) {
        error = odbcDiagnostics(SQL_HANDLE_ENV, environment);
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
        environment = SQL_NULL_HENV;
        connection = SQL_NULL_HDBC;
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
        error = odbcDiagnostics(SQL_HANDLE_DBC, connection);
        state = firstState(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
        environment = SQL_NULL_HENV;
        connection = SQL_NULL_HDBC;
        return false;
    }
    return true;
}

void freeConnection(SQLHENV environment, SQLHDBC connection, bool rollBack)
{
    if (connection != SQL_NULL_HDBC) {
        if (rollBack)
            SQLEndTran(SQL_HANDLE_DBC, connection, SQL_ROLLBACK);
        SQLDisconnect(connection);
        SQLFreeHandle(SQL_HANDLE_DBC, connection);
    }
    if (environment != SQL_NULL_HENV)
        SQLFreeHandle(SQL_HANDLE_ENV, environment);
}

const char* const LOST_CONNECTION = "The connection to the database was lost.\n";
} // namespace

DatabaseConnection::~DatabaseConnection() { close(); }

bool DatabaseConnection::open(const std::string& connectString)
{
    close();
    lastError_.clear();
    lastState_.clear();
    connectString_ = connectString;
    if (!connectTo(connectString, environment_, connection_, lastError_, lastState_))
        return false;
    transactionDepth_ = 0;
    engine_ = engineOf(connection_);
    return true;
}

bool DatabaseConnection::reconnect()
{
    ++reconnectAttempts_;
    SQLHENV environment = SQL_NULL_HENV;
    SQLHDBC connection = SQL_NULL_HDBC;
    std::string error;
    std::string state;
    if (connectString_.empty() || !connectTo(connectString_, environment, connection, error, state)) {
        lastError_ = error.empty() ? std::string("The database was never connected.\n") : error;
        lastState_ = state;
        return false;
    }
    // A transaction that ran nothing yet goes on on the new connection: it is
    // made ready for it before it takes the old one's place, so that a
    // connection in use is never left committing each statement on its own.
    if (transactionDepth_ > 0
        && !SQL_SUCCEEDED(SQLSetConnectAttr(connection, SQL_ATTR_AUTOCOMMIT,
                                            reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER))) {
        lastError_ = odbcDiagnostics(SQL_HANDLE_DBC, connection);
        lastState_.clear();
        freeConnection(environment, connection, false);
        return false;
    }
    // The server ended the old session already; its handles only go.
    freeConnection(environment_, connection_, false);
    environment_ = environment;
    connection_ = connection;
    engine_ = engineOf(connection_);
    lost_ = false;
    lastError_.clear();
    lastState_.clear();
    return true;
}

void DatabaseConnection::close()
{
    freeConnection(environment_, connection_, transactionDepth_ > 0 && !lost_);
    connection_ = SQL_NULL_HDBC;
    environment_ = SQL_NULL_HENV;
    transactionDepth_ = 0;
    transactionStatements_ = 0;
    lost_ = false;
    engine_ = Engine::Other;
}

bool DatabaseConnection::noticeLostConnection()
{
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (SQL_SUCCEEDED(SQLGetConnectAttr(connection_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr))
        && dead == SQL_CD_TRUE)
        lost_ = true;
    return lost_;
}

void DatabaseConnection::reconnectOrThrow()
{
    if (reconnect())
        return;
    throw DatabaseError(LOST_CONNECTION + lastError_);
}

template <class Statement>
auto DatabaseConnection::run(Statement statement) -> decltype(statement())
{
    if (!isOpen())
        throw DatabaseError("The database is not connected.\n");
    // Once a statement of a transaction has run, the transaction lives and
    // dies with its connection: the whole operation must start again.
    const bool fresh = transactionDepth_ == 0 || transactionStatements_ == 0;
    if (lost_ && !fresh)
        throw DatabaseError(LOST_CONNECTION);
    bool reconnected = false;
    if (lost_) {
        reconnectOrThrow();
        reconnected = true;
    }
    try {
        auto result = statement();
        if (transactionDepth_ > 0)
            ++transactionStatements_;
        return result;
    } catch (const DatabaseError&) {
        if (!noticeLostConnection() || !fresh || reconnected)
            throw;
    }
    reconnectOrThrow();
    auto result = statement();
    if (transactionDepth_ > 0)
        ++transactionStatements_;
    return result;
}

long long DatabaseConnection::execute(const std::string& sql, const std::vector<SqlValue>& parameters)
{
    return run([&] {
        OdbcStatement statement(connection_);
        statement.execute(sql, parameters);
        return statement.affectedRows();
    });
}

std::vector<DatabaseConnection::Row> DatabaseConnection::query(const std::string& sql,
                                                               const std::vector<SqlValue>& parameters,
                                                               const std::vector<SqlType>& columns)
{
    return run([&] {
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
    });
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
        rolledBack_ = false;
        transactionStatements_ = 0;
        // A lost connection is made again by the first statement, which
        // then begins the transaction on the new one.
        if (!lost_) {
            try {
                setAutoCommit(false);
            } catch (const DatabaseError&) {
                if (!noticeLostConnection())
                    throw;
            }
        }
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
    // The server dropped the transaction with the connection.
    if (lost_) {
        const bool ranStatements = transactionStatements_ > 0;
        endTransaction(SQL_ROLLBACK);
        if (ranStatements)
            throw DatabaseError(LOST_CONNECTION);
        return;
    }
    SQLRETURN result = SQLEndTran(SQL_HANDLE_DBC, connection_, SQL_COMMIT);
    if (!SQL_SUCCEEDED(result)) {
        // The engine's reason ("database or disk is full") is what the user
        // must hear, not what the rollback behind it may add.
        std::string text = odbcDiagnostics(SQL_HANDLE_DBC, connection_);
        noticeLostConnection();
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
    transactionStatements_ = 0;
    // The server ended the transaction with the connection; the next
    // connection starts in autocommit as every connection does.
    if (lost_)
        return;
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
