#include "Database/OdbcStatement.h"

#include "Database/DatabaseError.h"
#include "Database/StoredText.h"

#include <array>

std::string odbcDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::string text;
    for (SQLSMALLINT record = 1;; ++record) {
        std::array<SQLCHAR, 6> state{};
        SQLINTEGER nativeError = 0;
        std::array<SQLCHAR, 1024> message{};
        SQLSMALLINT length = 0;
        SQLRETURN result = SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError, message.data(),
                                         static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(result))
            break;
        text += reinterpret_cast<const char*>(message.data());
        text += '\n';
    }
    return text;
}

OdbcStatement::OdbcStatement(SQLHDBC connection)
{
    SQLRETURN result = SQLAllocHandle(SQL_HANDLE_STMT, connection, &handle_);
    if (!SQL_SUCCEEDED(result)) {
        handle_ = SQL_NULL_HSTMT;
        throw DatabaseError(odbcDiagnostics(SQL_HANDLE_DBC, connection));
    }
}

OdbcStatement::~OdbcStatement()
{
    if (handle_ != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, handle_);
}

void OdbcStatement::check(SQLRETURN result, const char* what)
{
    if (SQL_SUCCEEDED(result) || result == SQL_NO_DATA)
        return;
    std::string text = odbcDiagnostics(SQL_HANDLE_STMT, handle_);
    throw DatabaseError(text.empty() ? std::string(what) + " failed\n" : text);
}

void OdbcStatement::bind(const std::vector<SqlValue>& parameters)
{
    // The buffers must stay where they are until the statement has run, so
    // they are sized once before the first parameter is bound.
    indicators_.assign(parameters.size(), 0);
    integers_.assign(parameters.size(), 0);
    reals_.assign(parameters.size(), 0.0);
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        auto number = static_cast<SQLUSMALLINT>(i + 1);
        const SqlValue& value = parameters[i];
        SQLRETURN result = SQL_SUCCESS;
        if (const auto* text = std::get_if<std::string>(&value)) {
            indicators_[i] = static_cast<SQLLEN>(text->size());
            result = SQLBindParameter(handle_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                      text->empty() ? 1 : text->size(), 0,
                                      const_cast<char*>(text->data()), static_cast<SQLLEN>(text->size()),
                                      &indicators_[i]);
        } else if (const auto* integer = std::get_if<long long>(&value)) {
            integers_[i] = *integer;
            result = SQLBindParameter(handle_, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                      &integers_[i], 0, &indicators_[i]);
        } else if (const auto* real = std::get_if<double>(&value)) {
            reals_[i] = *real;
            result = SQLBindParameter(handle_, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                      &reals_[i], 0, &indicators_[i]);
        } else {
            indicators_[i] = SQL_NULL_DATA;
            result = SQLBindParameter(handle_, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0, nullptr, 0,
                                      &indicators_[i]);
        }
        check(result, "Binding a parameter");
    }
}

void OdbcStatement::execute(const std::string& sql, const std::vector<SqlValue>& parameters)
{
    // Every text of every table passes here, so this one check keeps the
    // engines alike: nothing cut at a NUL, nothing one engine takes and
    // another refuses.
    for (const SqlValue& value : parameters) {
        const auto* text = std::get_if<std::string>(&value);
        if (text && !isStorableText(*text))
            throw DatabaseError(UNSTORABLE_TEXT_ERROR);
    }
    SQLFreeStmt(handle_, SQL_CLOSE);
    SQLFreeStmt(handle_, SQL_RESET_PARAMS);
    bind(parameters);
    SQLRETURN result = SQLExecDirect(handle_, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                                     static_cast<SQLINTEGER>(sql.size()));
    check(result, "Running a statement");
}

long long OdbcStatement::affectedRows()
{
    SQLLEN rows = 0;
    check(SQLRowCount(handle_, &rows), "Counting rows");
    return rows;
}

bool OdbcStatement::fetch()
{
    SQLRETURN result = SQLFetch(handle_);
    if (result == SQL_NO_DATA)
        return false;
    check(result, "Fetching a row");
    return true;
}

std::string OdbcStatement::readText(int index, bool& isNull)
{
    std::string text;
    std::array<char, 1024> buffer{};
    isNull = false;
    for (;;) {
        SQLLEN indicator = 0;
        SQLRETURN result = SQLGetData(handle_, static_cast<SQLUSMALLINT>(index), SQL_C_CHAR, buffer.data(),
                                      static_cast<SQLLEN>(buffer.size()), &indicator);
        if (result == SQL_NO_DATA)
            break;
        check(result, "Reading a column");
        if (indicator == SQL_NULL_DATA) {
            isNull = true;
            break;
        }
        // A part that did not fit fills the buffer up to its terminator; the
        // rest follows with the next call.
        bool truncated = result == SQL_SUCCESS_WITH_INFO
            && (indicator == SQL_NO_TOTAL || indicator >= static_cast<SQLLEN>(buffer.size()));
        if (truncated) {
            text.append(buffer.data(), buffer.size() - 1);
            continue;
        }
        text.append(buffer.data(), static_cast<std::size_t>(indicator));
        break;
    }
    return text;
}

SqlValue OdbcStatement::column(int index, SqlType type)
{
    auto number = static_cast<SQLUSMALLINT>(index);
    SQLLEN indicator = 0;
    switch (type) {
    case SqlType::Text: {
        bool isNull = false;
        std::string text = readText(index, isNull);
        if (isNull)
            return {};
        return text;
    }
    case SqlType::Integer: {
        SQLBIGINT value = 0;
        check(SQLGetData(handle_, number, SQL_C_SBIGINT, &value, sizeof value, &indicator), "Reading a column");
        if (indicator == SQL_NULL_DATA)
            return {};
        return static_cast<long long>(value);
    }
    case SqlType::Real: {
        double value = 0.0;
        check(SQLGetData(handle_, number, SQL_C_DOUBLE, &value, sizeof value, &indicator), "Reading a column");
        if (indicator == SQL_NULL_DATA)
            return {};
        return value;
    }
    }
    return {};
}
