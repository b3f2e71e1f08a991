#pragma once
// A trainee or instructor (a row of the table "Person"), keyed by name.
// Sessions and courses refer to persons by name only.

#include "Database/TextMatch.h"

#include <string>

struct PersonRecord {
    std::string name; // the key
    std::string address;
    std::string cprCourses = "0";     // a count held as text
    std::string degree;
    bool instructor = false;
    std::string note;
    std::string phone;
    std::string resuscitations = "0"; // a count held as text

    std::string getKey() const { return name; }
    void setKey(const std::string& key) { name = key; }
    bool matchesKey(const std::string& key) const { return textMatches(name, key, TextMatch::IgnoringCase); }
    static bool isValidKey(const std::string& key) { return !key.empty(); }

    bool operator==(const PersonRecord&) const = default;
};
