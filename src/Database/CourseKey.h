#pragma once
// The key of a planned course: its instructor (compared ignoring case), its
// date and its time (compared exactly).

#include "Database/TextMatch.h"

#include <string>
#include <vector>

struct CourseKey {
    CourseKey() = default;
    CourseKey(std::string instructorName, std::string dateText, std::string timeText)
        : instructor(std::move(instructorName)), date(std::move(dateText)), time(std::move(timeText))
    {
    }

    std::string instructor;
    std::string date;
    std::string time;

    // The fields as a statement matches them, in the order instructor, date, time.
    std::vector<KeyPart> keyParts() const
    {
        return {{instructor, TextMatch::IgnoringCase}, {date, TextMatch::Exact}, {time, TextMatch::Exact}};
    }

    bool operator==(const CourseKey&) const = default;
};
