#include "Database/RecordTime.h"

#include <cstdio>

namespace {
std::function<std::tm()>& replacedClock()
{
    static std::function<std::tm()> clock;
    return clock;
}
} // namespace

std::tm RecordTime::now()
{
    if (replacedClock())
        return replacedClock()();
    std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

void RecordTime::setNow(std::function<std::tm()> clock) { replacedClock() = std::move(clock); }

std::string RecordTime::dateText(const std::tm& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", time.tm_year + 1900, time.tm_mon + 1, time.tm_mday);
    return text;
}

std::string RecordTime::timeText(const std::tm& time)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", time.tm_hour, time.tm_min);
    return text;
}
