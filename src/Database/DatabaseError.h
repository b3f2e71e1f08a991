#pragma once
// A failure reported by the records database: what the ODBC driver said, as
// the text the user is shown in the database error box.

#include <stdexcept>
#include <string>

class DatabaseError : public std::runtime_error {
public:
    explicit DatabaseError(const std::string& text) : std::runtime_error(text) {}
};
