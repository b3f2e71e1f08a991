#pragma once
// The coordinates of a graph pane: sample index to x and back, value to y and
// back, over the pane's plot rectangle and its axis window. Products are taken
// in 64 bits, so a four-hour strip on a page thousands of pixels wide lands
// where it belongs; an empty window or plot and a zero scale never divide.

#include <cstdint>

struct GraphScale {
    int plotLeft = 0;
    int plotTop = 0;
    int plotWidth = 0;
    int plotHeight = 0;
    int leftIndex = 0;
    int viewIndexes = 1;
    double fullScale = 1.0;
    bool inverted = false;

    int xOf(std::int64_t index) const;
    int yOf(double value) const;
    // The value at a client y, and the sample index nearest a client x.
    double valueAt(int y) const;
    int indexAt(int x) const;
    // The last sample index of the window.
    std::int64_t rightIndex() const { return static_cast<std::int64_t>(leftIndex) + viewIndexes; }
};
