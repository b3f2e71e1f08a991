#pragma once
// Columns and rows of layout items. A box never stacks its children: their
// positions come from the dialog template, and the box only shares out the
// difference between its new size and its natural size. Each item gets
// weight x extra / total weight (truncated toward zero; nothing when all
// weights are 0) and every later item moves by the growth of the earlier
// ones. A cap c other than 0 lets an item grow to at most c times its natural
// size; shrinking is never capped. Across the box every item keeps its
// distances to the box's two edges, so it stretches with the box.
// Items must be added in order: top to bottom in a column, left to right in a row.

#include "Rodezir/dialogs/LayoutItem.h"

#include <vector>

namespace kova {

class BoxLayout : public LayoutItem {
public:
    // Appends a clone of the item (a null item is kept as a place that takes its share).
    void add(int weight, const LayoutItemPtr& item, double cap = 0.0);

    std::size_t count() const { return items.size(); }
    const LayoutItem* itemAt(std::size_t index) const { return items.at(index).get(); }
    int getTotalWeight() const { return totalWeight; }

    RECT getCurrentExtent() const override;
    void place(const RECT& rect) override;
    void show(bool visible) override;
    bool hasVisiblePart() const override;
    void updateFrames() override;
    void setup(const RECT& rect) override;
    void notifyPlaced() override;

protected:
    explicit BoxLayout(bool vertical) : vertical_(vertical) {}
    BoxLayout(const BoxLayout&) = default;

    std::vector<LayoutItemPtr> items;
    std::vector<int> weights;
    std::vector<double> caps;
    std::vector<RECT> naturalRects;
    int totalWeight = 0;

private:
    bool vertical_;
};

class ColumnLayout : public BoxLayout {
public:
    ColumnLayout() : BoxLayout(true) {}
    static LayoutItemPtr create() { return LayoutItemPtr(new ColumnLayout); }
    ColumnLayout* clone() const override { return new ColumnLayout(*this); }
};

class RowLayout : public BoxLayout {
public:
    RowLayout() : BoxLayout(false) {}
    static LayoutItemPtr create() { return LayoutItemPtr(new RowLayout); }
    RowLayout* clone() const override { return new RowLayout(*this); }
};

// The item with fixed room around it: a row [spacer left][item][spacer right]
// when left or right is set, inside a column [spacer top][..][spacer bottom]
// when top or bottom is set; the item has weight 1, the spacers 0. With all
// four 0, a clone of the item.
LayoutItemPtr addMargins(const LayoutItemPtr& item, int left, int top, int right, int bottom);

} // namespace kova
