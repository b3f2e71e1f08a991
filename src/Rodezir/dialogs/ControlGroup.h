#pragma once
// A layout leaf that stands for one or more controls. Placed in a rectangle,
// it scales the controls' natural rectangles from its natural bounds into it:
// one control fills the rectangle exactly, several keep their proportions.
// A group with no natural width (or height) keeps its controls' natural size
// in that direction and only moves them.

#include "Rodezir/dialogs/LayoutItem.h"

#include <vector>

class QWidget;

namespace kova {

class ControlGroup : public LayoutItem {
public:
    ControlGroup() = default;

    // The controls of `parent` with these ids; ids 0 are skipped. An id that
    // names no control is skipped with a line in the error log.
    static LayoutItemPtr create(QWidget* parent, int id1, int id2 = 0, int id3 = 0, int id4 = 0, int id5 = 0,
                                int id6 = 0, int id7 = 0, int id8 = 0);
    // A clone of `group` with up to eight more controls of its own parent.
    static LayoutItemPtr createExtended(const LayoutItemPtr& group, int id1, int id2 = 0, int id3 = 0, int id4 = 0,
                                        int id5 = 0, int id6 = 0, int id7 = 0, int id8 = 0);
    // The first window is always added, later null windows are skipped.
    static LayoutItemPtr createFromWindows(QWidget* w1, QWidget* w2 = nullptr, QWidget* w3 = nullptr,
                                           QWidget* w4 = nullptr, QWidget* w5 = nullptr, QWidget* w6 = nullptr,
                                           QWidget* w7 = nullptr, QWidget* w8 = nullptr);
    static LayoutItemPtr createFromIds(QWidget* parent, const std::vector<int>& ids);
    static LayoutItemPtr createFromList(const std::vector<QWidget*>& windows);

    // Adds a control at its current rectangle in its parent.
    void add(QWidget* control);
    void addId(int id);
    const std::vector<QWidget*>& windows() const { return windows_; }

    ControlGroup* clone() const override { return new ControlGroup(*this); }
    RECT getBounds() const override { return hasBounds_ ? bounds : RECT{}; }
    RECT getCurrentExtent() const override;
    void place(const RECT& rect) override;
    void show(bool visible) override;
    bool hasVisiblePart() const override;
    void setup(const RECT& rect) override;
    void notifyPlaced() override {}

private:
    std::vector<QWidget*> windows_;
    std::vector<RECT> naturalRects_;
    QWidget* parent_ = nullptr;
    bool hasBounds_ = false;
};

} // namespace kova
