#pragma once
// What the live graph panel shows beside its curves, without windows: the
// elapsed time against the session's duration, the compression rate and the
// manikin's battery. Each display remembers what it last showed and answers
// a change only when there is something new to show, so the panel touches
// its controls once per change and the low-battery message comes once per
// drop to empty.

#include <optional>
#include <string>

class LiveDisplays {
public:
    // The battery level of a stored session (it has no manikin).
    static constexpr int STORED_LEVEL = 0xFFFF;
    // The further state some manikins report: shown empty, the pulse goes
    // off, but no message.
    static constexpr int PULSE_OFF_LEVEL = 10;
    // The battery pictures.
    static constexpr int BITMAP_EMPTY = 307;
    static constexpr int BITMAP_ONE_BAR = 289;
    static constexpr int BITMAP_TWO_BARS = 290;
    static constexpr int BITMAP_THREE_BARS = 291;
    static constexpr int BITMAP_FOUR_BARS = 292;
    static constexpr int BITMAP_NOT_AVAILABLE = 293;

    struct TimeChange {
        std::wstring caption; // "1:05 / 2:00", or "1:05" without a limit
        int seconds;          // the position of the session time bar
    };
    struct BatteryChange {
        int bitmapId;
        // The "Low battery" message is due (shown by the panel, never waiting).
        bool lowBatteryMessage;
        // An ECG-capable manikin's pulse is to be switched off.
        bool pulseOff;
    };

    // Whole seconds of the session up to sample `lastIndex` at `rate`
    // samples a second, the milliseconds truncated; 0 without a rate.
    static int elapsedSeconds(int lastIndex, double rate);
    // "m:ss", and " / m:ss" of the duration unless it is negative (no limit).
    static std::wstring timeCaption(int seconds, long durationSeconds);

    // The time display for the newest sample; nothing while the whole
    // seconds stay the same.
    std::optional<TimeChange> time(int lastIndex, double rate, long durationSeconds);
    // The rate label for the session's compression rate (-1 before the
    // first compression series); nothing while the whole rate stays the
    // same. The label starts as "- comp./min" with 0 remembered, so a first
    // rate of 0 is not written.
    std::optional<std::wstring> rate(double compressionRate);
    // The battery display for the manikin's level. Only the levels of the
    // table change it; any other value (255: not reported yet) leaves the
    // picture and what is remembered as they are.
    std::optional<BatteryChange> battery(int level, bool ecgCapable);

    int lastShownSeconds() const { return lastSeconds_; }
    int lastShownRate() const { return lastRate_; }
    int lastShownBattery() const { return lastBattery_; }

private:
    int lastSeconds_ = -1;
    int lastRate_ = 0;
    // Matches no level, so the first update always draws.
    int lastBattery_ = 66;
};
