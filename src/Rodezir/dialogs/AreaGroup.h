#pragma once
// A layout leaf for windowless drawing areas (parts of a window the dialog
// paints itself). Placing scales each area's natural rectangle into the given
// rectangle like a ControlGroup does; notifyPlaced then tells each area's
// listeners where it went and whether it is visible.

#include "Rodezir/SharedSignal.h"
#include "Rodezir/dialogs/LayoutItem.h"

#include <vector>

namespace kova {

// One drawing area. Copies share one listener list, which goes (with its
// connections) when the last copy does. Listeners take (left, top, right,
// bottom, visible).
struct LayoutArea {
    LayoutArea() = default;
    LayoutArea(const RECT& area, bool isVisible) : rect(area), visible(isVisible) {}

    RECT rect;
    bool visible = true;
    SharedSignal<int, int, int, int, bool> listeners;

    // Same rectangle and same flag; the listeners are not compared.
    bool sameAs(const LayoutArea& other) const { return rect == other.rect && visible == other.visible; }
};

class AreaGroup : public LayoutItem {
public:
    AreaGroup() = default;
    // A group of the areas; a later area equal to a default-constructed one is
    // skipped, the first is always added.
    static LayoutItemPtr create(const LayoutArea& a1, const LayoutArea& a2 = {}, const LayoutArea& a3 = {},
                                const LayoutArea& a4 = {}, const LayoutArea& a5 = {}, const LayoutArea& a6 = {},
                                const LayoutArea& a7 = {}, const LayoutArea& a8 = {});

    void add(const LayoutArea& area);
    void addAll(const AreaGroup& other);
    const std::vector<LayoutArea>& areas() const { return areas_; }

    AreaGroup* clone() const override { return new AreaGroup(*this); }
    RECT getBounds() const override { return hasBounds_ ? bounds : RECT{}; }
    RECT getCurrentExtent() const override;
    void place(const RECT& rect) override;
    void show(bool visible) override;
    bool hasVisiblePart() const override;
    void setup(const RECT& rect) override;
    void notifyPlaced() override;

private:
    std::vector<LayoutArea> areas_;
    std::vector<RECT> naturalRects_;
    bool hasBounds_ = false;
};

} // namespace kova
