#pragma once
// A layout item that stands for empty room of a fixed size; placing it does nothing.

#include "Rodezir/dialogs/LayoutItem.h"

namespace kova {

class LayoutSpacer : public LayoutItem {
public:
    LayoutSpacer(int width, int height);
    static LayoutItemPtr create(int width, int height) { return LayoutItemPtr(new LayoutSpacer(width, height)); }

    LayoutSpacer* clone() const override { return new LayoutSpacer(*this); }
    void place(const RECT&) override {}
    bool hasVisiblePart() const override { return false; }
    // Its bounds move to start at the setup rectangle's top-left corner.
    void setup(const RECT& rect) override;
    void notifyPlaced() override {}

    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
};

} // namespace kova
