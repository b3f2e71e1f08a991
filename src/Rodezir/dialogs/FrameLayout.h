#pragma once
// A layout item that puts content inside a frame, typically the items inside
// a group box: the frame fills the rectangle, the content keeps the insets it
// had from the frame when the layout was set up. updateFrames hides a frame
// whose content has nothing visible.

#include "Rodezir/dialogs/LayoutItem.h"

namespace kova {

class FrameLayout : public LayoutItem {
public:
    FrameLayout() = default;
    static LayoutItemPtr create(const LayoutItemPtr& frame, const LayoutItemPtr& content);

    // Each replaces its child by a clone of the item and unites its bounds into the frame's.
    void setFrame(const LayoutItemPtr& frame);
    void setContent(const LayoutItemPtr& content);
    const Margins& getInsets() const { return insets_; }

    FrameLayout* clone() const override { return new FrameLayout(*this); }
    RECT getCurrentExtent() const override;
    void place(const RECT& rect) override;
    void show(bool visible) override;
    bool hasVisiblePart() const override;
    void updateFrames() override;
    void setup(const RECT& rect) override;
    void notifyPlaced() override;

private:
    LayoutItemPtr frame_;
    LayoutItemPtr content_;
    Margins insets_;
};

} // namespace kova
