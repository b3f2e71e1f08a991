#pragma once
// What every table of the training records does beyond its record set, for
// any record type: open under a filter and register with the pool, reopen,
// give a column of the current row as text, count rows, fill a combo box.

#include "Database/RecordSet.h"
#include "Database/TableKind.h"

#include <functional>
#include <string>
#include <vector>

class ComboList;

class DatabaseTableBase : public RecordSet {
public:
    DatabaseTableBase(DatabaseConnection& connection, TableKind kind);
    ~DatabaseTableBase() override;

    // The result of the last open or reopen; the operations below ask this.
    bool isOpen = false;

    TableKind kind() const { return kind_; }

    // Opens the table under the filter ("" for every row; "?" markers take
    // the parameters) and registers it with the pool. Does nothing without a
    // database.
    virtual void open(const std::string& filterText, const std::vector<SqlValue>& parameters = {});
    // Closes and opens again under the current filter and sort.
    void reopen();

    // The current row's text of a column, named in any letter case; an
    // unknown name gives "" (and a line in the error log).
    virtual std::string getColumnText(const std::string& column) = 0;
    // Fills the combo box with a column; tables that list nothing keep this.
    virtual void fillComboBox(ComboList& combo, const std::string& column, const std::string& filterText);

protected:
    // Run after every successful open, before it returns.
    virtual void afterOpen() {}
    // Rows for which the predicate holds, reading each row in turn; the
    // cursor ends past the last row.
    int countRows(const std::function<bool()>& rowMatches);
    // Every row's column text into the combo box, under the given filter for
    // the time it takes; the combo box keeps its selected text.
    void fillComboBoxFromColumn(ComboList& combo, const std::string& column, const std::string& filterText);

private:
    TableKind kind_;
};
