#pragma once
// The zoom list of the live graph panel, without windows: which of the
// list's windows (ZoomWindows) a time window picks when the axis changed it
// (a magnifier gesture, a show all), and the window an entry gives the axis.

#include <span>

class LiveZoom {
public:
    struct Entry {
        int index = -1;
        // False: no entry lies within a second of the window; the list shows
        // no selection and the up-down sits on the nearest entry.
        bool selected = false;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    struct View {
        // While running the axis only takes the size and keeps following the
        // newest samples; otherwise it shows the last `count` samples.
        bool followNewest = false;
        int left = 0;
        int count = 0;
        friend bool operator==(const View&, const View&) = default;
    };

    // Milliseconds of a window of `samples` at `rate`, as the list compares them.
    static int windowMilliseconds(int samples, double rate);
    // The entry for a window of `samples`: the last one within a second of
    // it; else the nearest (the first of equals), not selected.
    static Entry entryFor(int samples, double rate, std::span<const int> lengthsMs);
    // The up-down's position after a step: the list's bounds hold it.
    static int stepTo(int position, int entryCount);
    // The axis window for an entry of `milliseconds`.
    static View viewFor(int milliseconds, double rate, bool running, int sampleCount);
};
