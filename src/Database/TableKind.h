#pragma once
// The six tables of the training records, as the table pool tells them apart.

enum class TableKind : int {
    Algorithm = 0,
    Course = 1,
    Events = 2,
    Person = 3,
    Scenario = 4,
    Session = 5,
};

constexpr int TABLE_KIND_COUNT = 6;
