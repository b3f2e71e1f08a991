#pragma once
// Column names as the tables' getColumnText takes them: in any letter case.

#include <string>

inline std::string lowerColumnName(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}
