#include "Database/RecordSet.h"

#include "Database/DatabaseConnection.h"
#include "Database/DatabaseError.h"
#include "Database/SqlIdentifier.h"
#include "Rodezir/LogStream.h"

namespace {
const char* const ROW_ID = "RowId";

std::string columnList(const std::vector<FieldExchange::Column>& columns)
{
    std::string list;
    for (const auto& column : columns) {
        if (!list.empty())
            list += ", ";
        list += quoteIdentifier(column.name);
    }
    return list;
}
} // namespace

RecordSet::RecordSet(DatabaseConnection& connection) : connection_(connection) {}

std::vector<FieldExchange::Column> RecordSet::describe()
{
    FieldExchange exchange(FieldExchange::Mode::Describe);
    exchangeFields(exchange);
    return exchange.columns();
}

std::vector<SqlValue> RecordSet::collect()
{
    FieldExchange exchange(FieldExchange::Mode::Store);
    exchangeFields(exchange);
    return exchange.values();
}

bool RecordSet::open(const std::string& table)
{
    close();
    table_ = table;
    lastError_.clear();
    if (!connection_.isOpen()) {
        lastError_ = "The database is not connected.\n";
        return false;
    }
    std::vector<FieldExchange::Column> columns = describe();
    std::string sql = "SELECT " + quoteIdentifier(ROW_ID);
    if (!columns.empty())
        sql += ", " + columnList(columns);
    sql += " FROM " + quoteIdentifier(table);
    if (!filter.empty())
        sql += " WHERE (" + filter + ")";
    sql += " ORDER BY " + (sort.empty() ? quoteIdentifier(ROW_ID) : sort);

    std::vector<SqlType> types{SqlType::Integer};
    for (const auto& column : columns)
        types.push_back(column.type);
    try {
        for (auto& fetched : connection_.query(sql, filterParameters, types)) {
            Row row;
            if (const auto* id = std::get_if<long long>(&fetched.front()))
                row.id = *id;
            row.values.assign(fetched.begin() + 1, fetched.end());
            rows_.push_back(std::move(row));
        }
    } catch (const DatabaseError& error) {
        lastError_ = error.what();
        rows_.clear();
        return false;
    }
    open_ = true;
    moveFirst();
    return true;
}

void RecordSet::close()
{
    open_ = false;
    rows_.clear();
    position_ = 0;
    bof_ = eof_ = true;
    change_ = Change::None;
}

bool RecordSet::onRow() const { return open_ && !bof_ && !eof_ && position_ < rows_.size(); }

void RecordSet::load()
{
    if (!onRow())
        return;
    FieldExchange exchange(rows_[position_].values);
    exchangeFields(exchange);
}

void RecordSet::placeAt(std::size_t index)
{
    position_ = index;
    bof_ = eof_ = false;
    change_ = Change::None;
    load();
}

void RecordSet::moveFirst()
{
    if (!open_)
        return;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].deleted) {
            placeAt(i);
            return;
        }
    }
    bof_ = eof_ = true;
}

void RecordSet::moveLast()
{
    if (!open_)
        return;
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (!rows_[i].deleted) {
            placeAt(i);
            return;
        }
    }
    bof_ = eof_ = true;
}

void RecordSet::moveNext()
{
    if (!open_ || eof_)
        return;
    std::size_t start = bof_ ? 0 : position_ + 1;
    for (std::size_t i = start; i < rows_.size(); ++i) {
        if (!rows_[i].deleted) {
            placeAt(i);
            return;
        }
    }
    position_ = rows_.size();
    eof_ = true;
    bof_ = false;
}

void RecordSet::movePrev()
{
    if (!open_ || bof_)
        return;
    for (std::size_t i = eof_ ? rows_.size() : position_; i-- > 0;) {
        if (!rows_[i].deleted) {
            placeAt(i);
            return;
        }
    }
    position_ = 0;
    bof_ = true;
    eof_ = false;
}

long long RecordSet::rowId() const { return onRow() ? rows_[position_].id : 0; }

void RecordSet::addNew()
{
    if (!open_)
        throw DatabaseError("The record set is not open.\n");
    change_ = Change::Adding;
}

void RecordSet::edit()
{
    if (!onRow() || rows_[position_].deleted)
        throw DatabaseError("No current record.\n");
    change_ = Change::Editing;
}

long long RecordSet::insertRow(const std::vector<FieldExchange::Column>& columns, const std::vector<SqlValue>& values)
{
    std::string markers;
    for (std::size_t i = 0; i < columns.size(); ++i)
        markers += i == 0 ? "?" : ", ?";
    std::string sql =
        "INSERT INTO " + quoteIdentifier(table_) + " (" + columnList(columns) + ") VALUES (" + markers + ")";
    std::vector<DatabaseConnection::Row> rows;
    // The SQLite driver gives no rows back from an INSERT; its last row id
    // belongs to this connection, so nobody else's insert can come between.
    if (connection_.engine() == DatabaseConnection::Engine::SQLite) {
        connection_.execute(sql, values);
        rows = connection_.query("SELECT last_insert_rowid()", {}, {SqlType::Integer});
    } else {
        rows = connection_.query(sql + " RETURNING " + quoteIdentifier(ROW_ID), values, {SqlType::Integer});
    }
    if (rows.empty() || !std::holds_alternative<long long>(rows.front().front()))
        throw DatabaseError("The database gave no row id for the new row.\n");
    return std::get<long long>(rows.front().front());
}

void RecordSet::updateRow(const std::vector<FieldExchange::Column>& columns, const std::vector<SqlValue>& values)
{
    std::string assignments;
    for (const auto& column : columns) {
        if (!assignments.empty())
            assignments += ", ";
        assignments += quoteIdentifier(column.name) + " = ?";
    }
    std::vector<SqlValue> parameters = values;
    parameters.emplace_back(rows_[position_].id);
    std::string sql = "UPDATE " + quoteIdentifier(table_) + " SET " + assignments + " WHERE "
        + quoteIdentifier(ROW_ID) + " = ?";
    if (connection_.execute(sql, parameters) == 0)
        throw DatabaseError("No rows were affected by the update or delete operation.\n");
}

bool RecordSet::update()
{
    if (change_ == Change::None)
        return false;
    lastError_.clear();
    try {
        store();
    } catch (const DatabaseError& error) {
        // The callers of a store are dialogs and table operations that answer
        // with a result; none of them is built to meet a database exception.
        lastError_ = error.what();
        LogStream::instance() << "RecordSet::update(" << table_ << "): " << lastError_;
        return false;
    }
    return true;
}

void RecordSet::store()
{
    std::vector<FieldExchange::Column> columns = describe();
    std::vector<SqlValue> values = collect();
    if (change_ == Change::Adding) {
        Row row;
        row.id = insertRow(columns, values);
        row.values = std::move(values);
        bool wasEmpty = bof_ && eof_;
        rows_.push_back(std::move(row));
        change_ = Change::None;
        // The new row joins the end of the set; the cursor stays where it was.
        if (wasEmpty) {
            bof_ = false;
            position_ = rows_.size();
        }
        load();
        return;
    }
    updateRow(columns, values);
    rows_[position_].values = std::move(values);
    change_ = Change::None;
}

void RecordSet::cancelUpdate()
{
    change_ = Change::None;
    load();
}

void RecordSet::deleteRow()
{
    if (!onRow() || rows_[position_].deleted)
        throw DatabaseError("No current record.\n");
    std::string sql = "DELETE FROM " + quoteIdentifier(table_) + " WHERE " + quoteIdentifier(ROW_ID) + " = ?";
    connection_.execute(sql, {SqlValue(rows_[position_].id)});
    rows_[position_].deleted = true;
    change_ = Change::None;
}
