#include "app/livepanel/LiveDisplays.h"

#include "gettext/Gettext.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

namespace {

std::wstring minutesAndSeconds(long seconds)
{
    wchar_t text[32];
    std::swprintf(text, std::size(text), L"%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

} // namespace

int LiveDisplays::elapsedSeconds(int lastIndex, double rate)
{
    if (!(rate > 0.0) || lastIndex < 0)
        return 0;
    const double milliseconds = std::trunc((lastIndex + 0.5) / rate * 1000.0 + 0.5);
    // A rate far below a manikin's would make more seconds than the display
    // holds: it stops at the most it shows.
    return static_cast<int>(std::min(milliseconds / 1000.0, static_cast<double>(INT_MAX)));
}

std::wstring LiveDisplays::timeCaption(int seconds, long durationSeconds)
{
    std::wstring caption = minutesAndSeconds(seconds);
    if (durationSeconds >= 0)
        caption += L" / " + minutesAndSeconds(durationSeconds);
    return caption;
}

std::optional<LiveDisplays::TimeChange> LiveDisplays::time(int lastIndex, double rate, long durationSeconds)
{
    const int seconds = elapsedSeconds(lastIndex, rate);
    if (seconds == lastSeconds_)
        return std::nullopt;
    lastSeconds_ = seconds;
    return TimeChange{timeCaption(seconds, durationSeconds), seconds};
}

std::optional<std::wstring> LiveDisplays::rate(double compressionRate)
{
    // A rate the analyser could not make out reads as none.
    const int rate = std::isfinite(compressionRate) && std::fabs(compressionRate) < 1e9
                         ? static_cast<int>(compressionRate)
                         : -1;
    if (rate == lastRate_)
        return std::nullopt;
    lastRate_ = rate;
    if (rate == -1)
        return Gettext::translate("- comp./min");
    return std::to_wstring(rate) + L" " + Gettext::translate("comp./min");
}

std::optional<LiveDisplays::BatteryChange> LiveDisplays::battery(int level, bool ecgCapable)
{
    if (level == lastBattery_)
        return std::nullopt;
    BatteryChange change{0, false, false};
    switch (level) {
    case STORED_LEVEL:
        change.bitmapId = BITMAP_NOT_AVAILABLE;
        break;
    case 0:
        change.bitmapId = BITMAP_EMPTY;
        change.lowBatteryMessage = true;
        change.pulseOff = ecgCapable;
        break;
    case 1:
        change.bitmapId = BITMAP_ONE_BAR;
        break;
    case 2:
        change.bitmapId = BITMAP_TWO_BARS;
        break;
    case 3:
        change.bitmapId = BITMAP_THREE_BARS;
        break;
    case 4:
        change.bitmapId = BITMAP_FOUR_BARS;
        break;
    case PULSE_OFF_LEVEL:
        change.bitmapId = BITMAP_EMPTY;
        change.pulseOff = ecgCapable;
        break;
    default:
        return std::nullopt;
    }
    // Remembered before anyone is told: the message comes once per drop.
    lastBattery_ = level;
    return change;
}
