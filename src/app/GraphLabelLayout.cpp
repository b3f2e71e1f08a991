#include "app/GraphLabelLayout.h"

#include <algorithm>

std::vector<std::optional<int>> GraphLabelLayout::place(const std::vector<Label>& labels, int plotTop,
                                                        int plotHeight, int plotWidth)
{
    std::vector<std::optional<int>> tops(labels.size());
    // The labels that fit the plot at all, in the order given (the order in
    // which they keep their room).
    std::vector<std::size_t> kept;
    long long used = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Label& label = labels[i];
        if (label.width > plotWidth || label.height <= 0 || used + label.height > plotHeight)
            continue;
        used += label.height;
        kept.push_back(i);
    }

    // From the top of the pane down, in the order of their lines, so a
    // label never passes the label of a line above its own.
    std::stable_sort(kept.begin(), kept.end(),
                     [&](std::size_t a, std::size_t b) { return labels[a].line < labels[b].line; });
    const int plotBottom = plotTop + plotHeight;
    int previousBottom = plotTop;
    for (const std::size_t i : kept) {
        const Label& label = labels[i];
        const int wanted = label.below ? label.line : label.line - label.height;
        const int top = std::max({wanted, plotTop, previousBottom});
        tops[i] = top;
        previousBottom = top + label.height;
    }
    // What ran past the bottom goes back up, pushing the labels above it.
    int nextTop = plotBottom;
    for (auto i = kept.rbegin(); i != kept.rend(); ++i) {
        int& top = *tops[*i];
        top = std::min(top, nextTop - labels[*i].height);
        nextTop = top;
    }
    return tops;
}
