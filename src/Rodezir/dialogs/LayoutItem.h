#pragma once
// The layout engine's item: one node of the tree that places the controls of
// a resizable dialog. The engine never lays out from nothing: every control
// keeps the rectangle the dialog template gave it (its natural rectangle), and
// the tree only moves and stretches controls relative to those rectangles
// when the dialog changes size.
//
// Kinds: ColumnLayout and RowLayout share extra space among their children by
// integer weights (weight 0 keeps an item's natural height or width) with an
// optional growth cap; ControlGroup stands for controls, AreaGroup for
// windowless drawing areas, LayoutSpacer for nothing; FrameLayout puts content
// inside a frame (a group box), AspectLayout keeps its child's proportions.
// All rectangles are client coordinates of the dialog in pixels.
//
// A dialog builds its tree once, right after its controls exist (and after
// its texts are translated), and hands it to LayoutDialog::setLayout, which
// calls setup once with the client rectangle; every resize then calls
// placeWithMargins on the top item with the new client rectangle, so the top
// item keeps its distances to the dialog's edges and everything inside
// follows the box rules.

#include "Rodezir/Geometry.h"

#include <memory>

namespace kova {

struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Margins&, const Margins&) = default;
};

class LayoutItem {
public:
    LayoutItem() = default;
    virtual ~LayoutItem() = default;

    // A new heap copy of the item and its whole subtree.
    virtual LayoutItem* clone() const = 0;
    // The natural rectangle: the union of what the item covers as built.
    virtual RECT getBounds() const { return bounds; }
    // The union of the rectangles the item's windows or areas occupy now.
    virtual RECT getCurrentExtent() const { return {}; }
    virtual RECT getMaximumRect() const { return maximumRect; }
    // The rectangle last given to setup; its size is the smallest client
    // area LayoutDialog allows.
    virtual RECT getSetupRect() const { return setupRect; }
    // Insets the rectangle by the margins, then places the item in it.
    virtual void placeWithMargins(const RECT& rect);
    virtual void place(const RECT& rect) = 0;
    virtual void show(bool visible) {}
    virtual bool hasVisiblePart() const = 0;
    // Shows each frame whose content has a visible part, hides the others.
    virtual void updateFrames() {}
    virtual void setup(const RECT& rect);
    // Tells listeners of drawing areas where their areas went.
    virtual void notifyPlaced() = 0;

    const Margins& getMargins() const { return margins; }

protected:
    LayoutItem(const LayoutItem&) = default;
    LayoutItem& operator=(const LayoutItem&) = default;

    // The margins that keep `bounds` where it is inside `rect`.
    void setMarginsWithin(const RECT& rect);

    RECT bounds;
    RECT maximumRect;
    RECT setupRect;
    Margins margins;
};

// An owning pointer to one item (or null). Copying copies the item and its
// subtree; assignment clones the source before it lets go of its own item,
// so assigning a pointer to itself is safe.
class LayoutItemPtr {
public:
    LayoutItemPtr() = default;
    // Takes ownership.
    explicit LayoutItemPtr(LayoutItem* item) : item_(item) {}
    LayoutItemPtr(const LayoutItemPtr& other) : item_(other.item_ ? other.item_->clone() : nullptr) {}
    LayoutItemPtr(LayoutItemPtr&&) noexcept = default;
    LayoutItemPtr& operator=(const LayoutItemPtr& other)
    {
        LayoutItem* copy = other.item_ ? other.item_->clone() : nullptr;
        item_.reset(copy);
        return *this;
    }
    LayoutItemPtr& operator=(LayoutItemPtr&&) noexcept = default;
    ~LayoutItemPtr() = default;

    LayoutItem* get() const { return item_.get(); }
    LayoutItem* operator->() const { return item_.get(); }
    LayoutItem& operator*() const { return *item_; }
    explicit operator bool() const { return item_ != nullptr; }

private:
    std::unique_ptr<LayoutItem> item_;
};

} // namespace kova
