#pragma once
// The rows of one table under a filter and sort, with a cursor over them:
// first, next, previous, last with beginning and end, and adding, editing and
// deleting the current row through its integer row id ("RowId", which every
// table carries). A table class binds its column members by naming them in
// exchangeFields, in column order.

#include "Database/FieldExchange.h"
#include "Database/SqlValue.h"

#include <string>
#include <vector>

class DatabaseConnection;

class RecordSet {
public:
    explicit RecordSet(DatabaseConnection& connection);
    virtual ~RecordSet() = default;
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;

    DatabaseConnection& connection() const { return connection_; }

    // Applied at the next open: the WHERE condition without the word WHERE
    // ("" for all rows) with the values of its "?" markers, and the ORDER BY
    // text ("" keeps the order in which the rows were added). Column names in
    // both are double-quoted as the schema spells them.
    std::string filter;
    std::vector<SqlValue> filterParameters;
    std::string sort;

    // Reads the table's rows and puts the cursor on the first one. False,
    // with the database's reason in lastError(), when the query fails or the
    // connection is not open. lastError() is the reason of the last failed
    // open or update.
    bool open(const std::string& table);
    void close();
    bool isCursorOpen() const { return open_; }
    const std::string& tableName() const { return table_; }
    const std::string& lastError() const { return lastError_; }

    // Before the first row / past the last one; both at once on an empty set.
    bool isBOF() const { return bof_; }
    bool isEOF() const { return eof_; }
    // The moves skip rows this set deleted. Moving on from the end (or back
    // from the beginning) and any move on a closed set do nothing.
    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrev();
    // The row id of the current row; 0 when the cursor is on no row.
    long long rowId() const;

    // addNew and edit start a change of the column members that update()
    // stores as a new row or into the current row; cancelUpdate() drops it.
    // addNew, edit and deleteRow throw DatabaseError when there is no current
    // row to edit or delete; deleteRow also when the database refuses it.
    void addNew();
    void edit();
    // True when the change is stored. False when no change was started, or
    // when the database (or the text check before it) refused the row: then
    // lastError() holds the reason, the error log has a line, and the change
    // stays started for the caller to cancel.
    [[nodiscard]] bool update();
    void cancelUpdate();
    void deleteRow();

protected:
    virtual void exchangeFields(FieldExchange& exchange) = 0;

private:
    struct Row {
        long long id = 0;
        std::vector<SqlValue> values;
        bool deleted = false;
    };
    enum class Change { None, Adding, Editing };

    std::vector<FieldExchange::Column> describe();
    std::vector<SqlValue> collect();
    bool onRow() const;
    void load();
    void placeAt(std::size_t index);
    long long insertRow(const std::vector<FieldExchange::Column>& columns, const std::vector<SqlValue>& values);
    void updateRow(const std::vector<FieldExchange::Column>& columns, const std::vector<SqlValue>& values);
    void store();

    DatabaseConnection& connection_;
    std::string table_;
    std::string lastError_;
    bool open_ = false;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool bof_ = true;
    bool eof_ = true;
    Change change_ = Change::None;
};
