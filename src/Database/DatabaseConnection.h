#pragma once
// The station's connection to its records database over ODBC: opened once on
// a connect string without ever letting the driver ask the user, then used by
// every record set and every direct statement.

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
    bool isOpen() const { return connection_ != SQL_NULL_HDBC; }
    const std::string& lastError() const { return lastError_; }
    Engine engine() const { return engine_; }

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

    SQLHENV environment_ = SQL_NULL_HENV;
    SQLHDBC connection_ = SQL_NULL_HDBC;
    std::string lastError_;
    Engine engine_ = Engine::Other;
    int transactionDepth_ = 0;
    bool rolledBack_ = false;
};
