#pragma once
// The station's connection to its records database over ODBC: opened on a
// connect string without ever letting the driver ask the user, then used by
// every record set and every direct statement. A connection the server
// dropped (a shared server restarted, the network gone for a while) is made
// again on the same connect string by the next unit of work: one statement
// outside a transaction, or a transaction before its first statement ran.

#include "Database/SqlValue.h"

#include <sql.h>

#include <string>
#include <vector>

class DatabaseConnection {
public:
    using Row = std::vector<SqlValue>;
    // The engines the station's statements are written for; they differ only
    // in how a new row's id is read back.
    enum class Engine { SQLite, PostgreSQL, Other };

    DatabaseConnection() = default;
    ~DatabaseConnection();
    DatabaseConnection(const DatabaseConnection&) = delete;
    DatabaseConnection& operator=(const DatabaseConnection&) = delete;

    // Connects (e.g. "DSN=kovacpr"); false with lastError() set on failure.
    // The driver's own connect dialog is never shown.
    bool open(const std::string& connectString);
    void close();
    // A connection was made (it may have been lost since; see connectionLost).
    bool isOpen() const { return connection_ != SQL_NULL_HDBC; }
    const std::string& lastError() const { return lastError_; }
    // The ODBC state of the last failed open ("IM002": no such data source,
    // "08001": the server could not be reached, ...); empty when none failed.
    const std::string& lastState() const { return lastState_; }
    Engine engine() const { return engine_; }

    // The server dropped the connection and it has not been made again yet.
    // A transaction it was in is gone: the operation that ran it repeats it
    // (its first statement connects again).
    bool connectionLost() const { return lost_; }
    // Connects again on the last connect string, keeping the lost connection
    // when the server still does not answer (false, lastError() set).
    bool reconnect();
    // How often a reconnect was tried, so that an operation tries it once.
    int reconnectAttempts() const { return reconnectAttempts_; }

    // Runs one statement; gives the number of rows it changed. Throws DatabaseError.
    long long execute(const std::string& sql, const std::vector<SqlValue>& parameters = {});
    // Runs a query and reads every row, each column as the given type. Throws DatabaseError.
    std::vector<Row> query(const std::string& sql, const std::vector<SqlValue>& parameters,
                           const std::vector<SqlType>& columns);

    // Transactions nest: only the outermost begin and commit reach the
    // database, and a rollback at any level undoes the whole change. A
    // commit the database refuses is rolled back and throws DatabaseError
    // with the database's reason; a rollback never throws, also when the
    // engine has ended the transaction itself (a full disk).
    void beginTransaction();
    void commit();
    void rollback();
    // A part of the open transaction failed: the whole change will be
    // undone, so nothing more of it need run.
    bool transactionFailed() const { return transactionDepth_ > 0 && rolledBack_; }

    SQLHDBC handle() const { return connection_; }

private:
    void setAutoCommit(bool on);
    // Ends the transaction and goes back to single statements; never throws.
    void endTransaction(SQLSMALLINT completion);
    void resynchronise();
    void restoreAutoCommit();
    // Runs a statement on the connection, connecting again first (once) when
    // it was lost or when the statement finds it lost, as long as nothing of
    // the unit of work has run yet.
    template <class Statement>
    auto run(Statement statement) -> decltype(statement());
    // After a failed statement: whether the driver finds the connection dead.
    bool noticeLostConnection();
    void reconnectOrThrow();

    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    std::string connectString_;
    std::string lastError_;
    std::string lastState_;
    Engine engine_ = Engine::Other;
    int transactionDepth_ = 0;
    bool rolledBack_ = false;
    bool lost_ = false;
    int reconnectAttempts_ = 0;
    // Statements the open transaction has run (it cannot move to a new
    // connection once one has).
    int transactionStatements_ = 0;
};
