#pragma once
// Where the value labels of a graph pane go: each one next to the line it
// names, all of them whole inside the pane and none over another. Labels
// that would overlap are pushed apart by what they need, the lower one down
// (or, at the bottom of the pane, the upper one up); when the pane cannot
// hold them all, the labels named last give way. Window-free: the pane
// measures the texts and draws them where this puts them.

#include <optional>
#include <vector>

class GraphLabelLayout {
public:
    struct Label {
        // The y of the line the label names.
        int line = 0;
        // True: the label's top lies on the line; false: its bottom does.
        bool below = true;
        int width = 0;
        int height = 0;
    };

    // The top of each label, in the order given, in a plot from plotTop
    // down plotHeight pixels and plotWidth wide; none for a label left out
    // (too wide for the plot, or no room left for it).
    static std::vector<std::optional<int>> place(const std::vector<Label>& labels, int plotTop, int plotHeight,
                                                 int plotWidth);
};
