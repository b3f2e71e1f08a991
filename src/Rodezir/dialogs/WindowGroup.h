#pragma once
// Several controls moved, sized, shown and enabled as one, for dialogs that
// arrange controls by hand (a label beside its button, a row centred under a
// list). The group's bounds are the union of its controls' rectangles in
// their parent's client coordinates.

#include "Rodezir/Geometry.h"

#include <vector>

class QWidget;

namespace kova {

class WindowGroup {
public:
    WindowGroup() = default;

    // Takes the parent from the first window added; unites its rectangle in the parent into the bounds.
    void add(QWidget* window);
    // Unites the given rectangle (not the window's) into the bounds; the parent is not touched.
    void add(QWidget* window, const RECT& rect);
    // Moves and sizes the window around the group (a group box), widened by
    // the four amounts, then adds it.
    void addSurrounding(QWidget* window, int left, int top, int right, int bottom);
    // Appends the other group's windows; the bounds stay as they are.
    void appendWindows(const WindowGroup& other);
    // Removes the first equal window; the bounds stay as they are.
    void remove(QWidget* window);

    RECT getBounds() const { return bounds_; }
    bool isEmpty() const { return windows_.empty(); }
    const std::vector<QWidget*>& windows() const { return windows_; }
    QWidget* parent() const { return parent_; }
    void setRepaint(bool repaint) { repaint_ = repaint; }

    // Moves every window so the bounds start at (x, y); with repaint set the
    // old and the new area of the parent are repainted. Nothing for an empty group.
    void moveTo(int x, int y);
    void moveBy(int dx, int dy);
    void centerBetween(int left, int right);
    void centerInParent();
    void placeBeside(const RECT& anchor, int placement, int gap);
    // Gives every window the width and/or height, keeping its top-left corner.
    void setWidth(int width);
    void setHeight(int height);
    void setSize(int width, int height);

    // A window's rectangle in the group's parent's client coordinates.
    RECT windowRect(const QWidget* window) const;
    void showAll(bool show);
    void enableAll(bool enable);

private:
    void unite(const RECT& rect);
    void resizeEach(int width, int height, bool setWidth, bool setHeight);

    bool repaint_ = true;
    QWidget* parent_ = nullptr;
    std::vector<QWidget*> windows_;
    RECT bounds_;
    bool hasBounds_ = false;
};

} // namespace kova
