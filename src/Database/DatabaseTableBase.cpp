#include "Database/DatabaseTableBase.h"

#include "Database/ComboList.h"
#include "Database/DBUtil.h"
#include "Database/Database.h"
#include "Database/TablePool.h"
#include "Rodezir/LogStream.h"

DatabaseTableBase::DatabaseTableBase(DatabaseConnection& connection, TableKind kind)
    : RecordSet(connection), kind_(kind)
{
}

DatabaseTableBase::~DatabaseTableBase() { TablePool::remove(this); }

void DatabaseTableBase::open(const std::string& filterText, const std::vector<SqlValue>& parameters)
{
    if (!databaseOpen)
        return;
    filter = filterText;
    filterParameters = parameters;
    isOpen = DBUtil::Open(*this, TablePool::name(kind_));
    if (!isOpen)
        return;
    TablePool::add(this, kind_);
    afterOpen();
}

void DatabaseTableBase::reopen()
{
    if (!isOpen)
        return;
    std::string table = tableName();
    close();
    bool ok = DBUtil::Open(*this, table);
    // A server that went away is no fault of the station's: the table stays
    // one of the station's, without rows, and reads them again once the
    // connection is back.
    if (!ok && connection().connectionLost()) {
        isOpen = true;
        return;
    }
    KOVA_ASSERT(ok);
    isOpen = ok;
}

void DatabaseTableBase::fillComboBox(ComboList&, const std::string&, const std::string&) {}

int DatabaseTableBase::countRows(const std::function<bool()>& rowMatches)
{
    if (!isOpen || DBUtil::emptyTable(*this))
        return 0;
    int count = 0;
    DBUtil::moveFirst(*this);
    while (isCursorOpen() && !isEOF()) {
        if (rowMatches())
            ++count;
        DBUtil::moveNext(*this);
    }
    return count;
}

namespace {
// Selects the combo box's text again however the fill ends.
class SelectionKeeper {
public:
    explicit SelectionKeeper(ComboList& combo) : combo_(combo), text_(combo.getText()) {}
    ~SelectionKeeper() { combo_.selectString(text_); }
    SelectionKeeper(const SelectionKeeper&) = delete;
    SelectionKeeper& operator=(const SelectionKeeper&) = delete;

private:
    ComboList& combo_;
    std::string text_;
};
} // namespace

void DatabaseTableBase::fillComboBoxFromColumn(ComboList& combo, const std::string& column,
                                               const std::string& filterText)
{
    SelectionKeeper keeper(combo);
    combo.clear();
    if (!isOpen)
        return;
    const std::string keptFilter = filter;
    const std::vector<SqlValue> keptParameters = filterParameters;
    if (filterText != keptFilter) {
        filter = filterText;
        filterParameters.clear();
        reopen();
    }
    if (isCursorOpen() && !DBUtil::emptyTable(*this)) {
        DBUtil::moveFirst(*this);
        while (!isEOF()) {
            combo.addItem(getColumnText(column));
            DBUtil::moveNext(*this);
        }
    }
    if (filter != keptFilter) {
        filter = keptFilter;
        filterParameters = keptParameters;
        // reopen() only acts on an open table; a failed apply must still
        // restore the filter for the next open.
        reopen();
    }
}
