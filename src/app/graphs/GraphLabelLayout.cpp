#include "app/graphs/GraphLabelLayout.h"

#include <algorithm>
#include <utility>

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

    // From the top of the pane down, each where it wants to be (inside the
    // pane) or just below the one above it; of two that want the same place
    // the one of the higher line goes first.
    const int plotBottom = plotTop + plotHeight;
    const auto wantedTop = [&](std::size_t i) {
        const int top = labels[i].below ? labels[i].line : labels[i].line - labels[i].height;
        return std::clamp(top, plotTop, plotBottom - labels[i].height);
    };
    std::stable_sort(kept.begin(), kept.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(wantedTop(a), labels[a].line) < std::pair(wantedTop(b), labels[b].line);
    });
    int previousBottom = plotTop;
    for (const std::size_t i : kept) {
        const int top = std::max(wantedTop(i), previousBottom);
        tops[i] = top;
        previousBottom = top + labels[i].height;
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
