#pragma once
// Every open table object with its kind, so that a change made by direct SQL
// can close and reopen every table of that kind and each open dialog sees it.
// The pool owns nothing: tables register when they open and leave when they
// are destroyed.

#include "Database/TableKind.h"

#include <cstddef>

class DatabaseTableBase;

class TablePool {
public:
    // The table of each kind, indexed by kind.
    static const char* const names[TABLE_KIND_COUNT];
    static const char* name(TableKind kind) { return names[static_cast<int>(kind)]; }

    // Registers an opened table (once; a second add of the same object is ignored).
    static void add(DatabaseTableBase* table, TableKind kind);
    // Forgets the table; nothing happens when it is not registered.
    static void remove(DatabaseTableBase* table);
    // Closes and reopens every registered table of the kind under its own filter.
    static void refresh(TableKind kind);

    static bool contains(const DatabaseTableBase* table);
    static std::size_t size();
};
