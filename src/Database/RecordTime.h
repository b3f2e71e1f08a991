#pragma once
// The local date and time that new records are stamped with, as the texts
// the records keep ("2024-11-05", "09:07"); the clock can be replaced so the
// stamps can be checked.

#include <ctime>
#include <functional>
#include <string>

class RecordTime {
public:
    // The local time now (or what a replaced clock says).
    static std::tm now();
    // Replaces the clock; an empty function restores the real one.
    static void setNow(std::function<std::tm()> clock);

    // Year "-" month "-" day, padded with zeros to 4, 2 and 2 digits.
    static std::string dateText(const std::tm& time);
    // Hour (0 to 23) ":" minute, each padded to 2 digits.
    static std::string timeText(const std::tm& time);
};
