#pragma once
// A planned course (a row of the table "Course"): instructor, date and time
// form its key; its sessions are the Session rows holding that key. Shown in
// lists as one line, "<instructor> on <date> at <time>", which parses back.

#include "Database/CourseKey.h"

#include <string>

struct CourseRecord {
    // Today's date and the current time, the rest empty.
    CourseRecord();

    std::string instructor;
    std::string date;
    std::string time;
    std::string defaultScenario;
    std::string note;

    CourseKey getKey() const { return {instructor, date, time}; }
    void setKey(const CourseKey& key);
    static bool isValidKey(const CourseKey& key);
    bool matchesKey(const CourseKey& key) const;

    // The one-line display text in the current language.
    std::wstring displayText() const;
    // Takes instructor, date and time from a display text, counting from its
    // end (so " on " inside a name does no harm); a text too short for a
    // date and time changes nothing.
    void parseDisplayText(const std::wstring& text);

    // The SQL condition of this record's key over the given column names
    // (empty names: the course table's own columns), values as quoted literals.
    std::string sqlFilter(const CourseKey& columns, const std::string& joiner) const;

    bool operator==(const CourseRecord&) const = default;
};
