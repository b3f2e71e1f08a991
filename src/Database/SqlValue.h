#pragma once
// One value travelling between the station and the records database: a
// statement parameter or a column of a fetched row. Flags and bytes travel as
// whole numbers.

#include <string>
#include <variant>

using SqlValue = std::variant<std::monostate, std::string, long long, double>;

// The type a fetched column is read as.
enum class SqlType {
    Text,
    Integer,
    Real,
};
