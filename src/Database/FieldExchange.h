#pragma once
// Moves the bound column members of a record set to and from the database:
// a table class names its columns once, in order, and the same list serves
// to build the SELECT, to load a fetched row and to collect values to store.

#include "Database/SqlValue.h"

#include <string>
#include <vector>

class FieldExchange {
public:
    enum class Mode {
        Describe, // collect the column names and types
        Load,     // set the members from a fetched row
        Store,    // collect the members' values
    };

    struct Column {
        std::string name;
        SqlType type;
    };

    // A pass that collects names (Describe) or values (Store).
    explicit FieldExchange(Mode mode) : mode_(mode) {}
    // A pass that loads the members from a row, in column order.
    explicit FieldExchange(const std::vector<SqlValue>& row) : mode_(Mode::Load), row_(&row) {}

    void text(const char* column, std::string& member);
    void integer(const char* column, long& member);
    void flag(const char* column, bool& member);
    void real(const char* column, double& member);
    void byte(const char* column, unsigned char& member);

    const std::vector<Column>& columns() const { return columns_; }
    const std::vector<SqlValue>& values() const { return values_; }

private:
    // The value of the next column in Load mode; the empty value past the row's end.
    const SqlValue& next();
    long long nextInteger();

    Mode mode_;
    const std::vector<SqlValue>* row_ = nullptr;
    std::size_t index_ = 0;
    std::vector<Column> columns_;
    std::vector<SqlValue> values_;
};
