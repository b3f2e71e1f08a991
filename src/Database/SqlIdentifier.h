#pragma once
// Table and column names in SQL text: double-quoted exactly as the schema
// spells them, so reserved words ("Order") and mixed case work on every engine.

#include <string>

inline std::string quoteIdentifier(const std::string& name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}
