#include "Database/TablePool.h"

#include "Database/DatabaseConnection.h"
#include "Database/DatabaseTableBase.h"
#include "Rodezir/LogStream.h"

#include <algorithm>
#include <utility>
#include <vector>

const char* const TablePool::names[TABLE_KIND_COUNT] = {"Algorithm", "Course", "Events", "Person", "Scenario",
                                                         "Session"};

namespace {
struct Entry {
    DatabaseTableBase* table;
    TableKind kind;
};

// Reached through a function so that tables destroyed during static
// destruction still find it.
std::vector<Entry>& entries()
{
    static std::vector<Entry> registered;
    return registered;
}

auto find(const DatabaseTableBase* table)
{
    return std::find_if(entries().begin(), entries().end(), [table](const Entry& e) { return e.table == table; });
}
} // namespace

void TablePool::add(DatabaseTableBase* table, TableKind kind)
{
    if (find(table) == entries().end())
        entries().push_back({table, kind});
}

void TablePool::remove(DatabaseTableBase* table)
{
    auto entry = find(table);
    if (entry != entries().end())
        entries().erase(entry);
}

bool TablePool::contains(const DatabaseTableBase* table) { return find(table) != entries().end(); }

std::size_t TablePool::size() { return entries().size(); }

void TablePool::refresh(TableKind kind)
{
    constexpr bool FALSE = false;
    // A reopen never adds or removes entries, but copy the list anyway: the
    // pool must not be walked while something might change it.
    std::vector<Entry> snapshot = entries();
    for (const Entry& entry : snapshot) {
        if (entry.kind != kind)
            continue;
        DatabaseTableBase& table = *entry.table;
        // Inside a change that failed the table keeps what it read; the one
        // who undoes the change refreshes it then.
        if (table.connection().transactionFailed())
            continue;
        if (!table.isOpen) {
            KOVA_ASSERT(FALSE);
            continue;
        }
        // A table whose reopen failed says so, so nothing reads a dead cursor;
        // one that lost the server keeps its place until the server is back.
        table.reopen();
    }
}
