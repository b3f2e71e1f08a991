#pragma once
// One ODBC statement handle: runs a statement with bound parameters and reads
// the rows it gives back. Every failure becomes a DatabaseError carrying the
// driver's own text.

#include "Database/SqlValue.h"

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

// The driver's diagnostic records of a handle, one line each.
std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

class OdbcStatement {
public:
    explicit OdbcStatement(SQLHDBC connection);
    ~OdbcStatement();
    OdbcStatement(const OdbcStatement&) = delete;
    OdbcStatement& operator=(const OdbcStatement&) = delete;

    // Runs the statement; the parameters replace its "?" markers in order.
    // A text parameter the records cannot hold (see StoredText.h) is refused
    // before the driver sees the statement.
    void execute(const std::string& sql, const std::vector<SqlValue>& parameters = {});
    // Rows changed by the last INSERT, UPDATE or DELETE.
    long long affectedRows();
    // Steps to the next row of the result; false past the last one.
    bool fetch();
    // A column (from 1) of the current row; SQL NULL gives the empty value.
    SqlValue column(int index, SqlType type);

private:
    void check(SQLRETURN result, const char* what);
    void bind(const std::vector<SqlValue>& parameters);
    std::string readText(int index, bool& isNull);

    SQLHSTMT handle_ = SQL_NULL_HSTMT;
    std::vector<SQLLEN> indicators_;
    std::vector<SQLBIGINT> integers_;
    std::vector<double> reals_;
};
