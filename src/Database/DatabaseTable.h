#pragma once
// The frame of every table class: the shared operations of DatabaseTableBase
// plus reading and writing whole records of the table's record type and the
// key operations that cascade into the tables referring to a key.

#include "Database/DatabaseTableBase.h"

#include <string>

template <class Record, class Key = std::string>
class DatabaseTable : public DatabaseTableBase {
public:
    using DatabaseTableBase::DatabaseTableBase;

    // The current row as a record.
    virtual Record getRecord() = 0;
    // The record into the column members, to be stored by addNew or edit and update.
    virtual void setRecord(const Record& record) = 0;
    // Carries a changed key into the tables that refer to it.
    virtual void renameKey(const Key& oldKey, const Key& newKey) = 0;
    // Deletes the key's row; with cascade first the rows that refer to it.
    virtual void deleteKey(const Key& key, bool cascade) = 0;
    // Rows holding the key, as the table compares its key.
    virtual int countKey(const Key& key) = 0;
};
