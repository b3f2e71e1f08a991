#include "Database/Duration.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/gstringUtil.h"
#include "gettext/Gettext.h"

#include <climits>
#include <cstdint>
#include <cstdio>

namespace Duration {
namespace {

// The two numbers of an "a:b" text. Each is kept within an int: a part
// that grows past it is marked as too large instead of overflowing.
struct Parts {
    std::int64_t first = 0;
    std::int64_t second = 0;
    bool tooLarge = false;
};

template <class Char>
Parts scan(std::basic_string_view<Char> text)
{
    Parts parts;
    std::int64_t* current = &parts.first;
    for (const Char c : text) {
        if (c == Char(':')) {
            if (current == &parts.second)
                break;
            current = &parts.second;
            continue;
        }
        if (c < Char('0') || c > Char('9'))
            continue;
        if (parts.tooLarge)
            continue;
        *current = *current * 10 + (c - Char('0'));
        if (*current > INT_MAX)
            parts.tooLarge = true;
    }
    return parts;
}

template <class Char>
long parseText(std::basic_string_view<Char> text)
{
    const Parts parts = scan(text);
    if (parts.tooLarge)
        return NO_LIMIT;
    const std::int64_t seconds = parts.first * 60 + parts.second;
    if (seconds == 0 || seconds > INT_MAX)
        return NO_LIMIT;
    return static_cast<long>(seconds);
}

std::wstring minutesAndSeconds(std::int64_t first, std::int64_t second)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(first), static_cast<long long>(second));
    return toWide(text);
}

} // namespace

std::wstring format(long seconds)
{
    if (seconds < 0)
        return Gettext::translate("No limit");
    return minutesAndSeconds(seconds / 60, seconds % 60);
}

long parse(std::wstring_view text) { return parseText(text); }
long parse(std::string_view text) { return parseText(text); }

std::wstring formatLong(long seconds)
{
    if (seconds == NO_LIMIT)
        return Gettext::translate("No limit");
    if (seconds < 0)
        return {};
    const long minutes = seconds / 60;
    const long rest = seconds % 60;
    std::wstring text;
    if (minutes >= 1)
        text = std::to_wstring(minutes) + Gettext::translate(" min.");
    if (rest >= 1 || minutes == 0) {
        if (!text.empty())
            text += L' ';
        text += std::to_wstring(rest) + Gettext::translate(" sec.");
    }
    return text;
}

std::string endTime(std::string_view start, long seconds)
{
    // Any negative length is "No limit" to the station, and such a session has no end.
    KOVA_ASSERT(seconds >= 0);
    if (seconds < 0)
        return {};
    const Parts clock = scan(start);
    KOVA_ASSERT(!clock.tooLarge);
    if (clock.tooLarge)
        return {};
    // Hours and minutes of the start are each within an int, so the sum in
    // seconds needs 64 bits but never more.
    const std::int64_t end = (clock.first * 60 + clock.second) * 60 + static_cast<std::int64_t>(seconds);
    const std::int64_t minutes = end / 60;
    return toNarrow(minutesAndSeconds(minutes / 60, minutes % 60));
}

} // namespace Duration
