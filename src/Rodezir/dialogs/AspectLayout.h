#pragma once
// A layout item that keeps the proportions of its natural bounds: its child
// gets the largest rectangle of that width-to-height ratio that fits, centred.
// Bounds without height count as square; bounds without width give the child
// no width, never a division by zero.

#include "Rodezir/dialogs/LayoutItem.h"

namespace kova {

class AspectLayout : public LayoutItem {
public:
    AspectLayout() = default;
    static LayoutItemPtr create(const LayoutItemPtr& child);

    void setChild(const LayoutItemPtr& child);

    AspectLayout* clone() const override { return new AspectLayout(*this); }
    RECT getCurrentExtent() const override;
    void place(const RECT& rect) override;
    void show(bool visible) override;
    bool hasVisiblePart() const override;
    void updateFrames() override;
    void setup(const RECT& rect) override;
    void notifyPlaced() override;

    // The rectangle the child gets inside `rect` for natural bounds `natural`.
    static RECT fit(const RECT& natural, const RECT& rect);

private:
    LayoutItemPtr child_;
};

} // namespace kova
