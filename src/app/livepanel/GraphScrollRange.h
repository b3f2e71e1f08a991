#pragma once
// The live graph panel's scroll bar over a session's samples, without
// windows: its positions are the left edges the time axis may take, a page
// is the visible window and a line a tenth of it.

class GraphScrollRange {
public:
    // The largest left edge: the last sample (or the window's end, when it
    // reaches further) at the right edge; never below 0.
    int maximumPosition = 0;
    int page = 1;
    int lineStep = 1;
    int position = 0;

    static GraphScrollRange of(int sampleCount, int leftIndex, int window);
    friend bool operator==(const GraphScrollRange&, const GraphScrollRange&) = default;
};
