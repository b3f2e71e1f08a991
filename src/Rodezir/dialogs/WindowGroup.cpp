#include "Rodezir/dialogs/WindowGroup.h"

#include "Rodezir/dialogs/WindowGeometry.h"

#include <QWidget>

#include <algorithm>

namespace kova {

void WindowGroup::unite(const RECT& rect)
{
    bounds_ = hasBounds_ ? unionRect(bounds_, rect) : rect;
    hasBounds_ = true;
}

void WindowGroup::add(QWidget* window)
{
    if (!window)
        return;
    if (!parent_)
        parent_ = window->parentWidget();
    unite(windowRect(window));
    windows_.push_back(window);
}

void WindowGroup::add(QWidget* window, const RECT& rect)
{
    if (!window)
        return;
    unite(rect);
    windows_.push_back(window);
}

void WindowGroup::addSurrounding(QWidget* window, int left, int top, int right, int bottom)
{
    if (!window)
        return;
    const RECT around{bounds_.left - left, bounds_.top - top, bounds_.right + right, bounds_.bottom + bottom};
    window->setGeometry(around.left, around.top, around.width(), around.height());
    add(window);
}

void WindowGroup::appendWindows(const WindowGroup& other)
{
    windows_.insert(windows_.end(), other.windows_.begin(), other.windows_.end());
}

void WindowGroup::remove(QWidget* window)
{
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    if (found != windows_.end())
        windows_.erase(found);
}

void WindowGroup::moveTo(int x, int y)
{
    if (windows_.empty())
        return;
    if (repaint_ && parent_)
        parent_->update(bounds_.left, bounds_.top, bounds_.width(), bounds_.height());
    const int dx = x - bounds_.left;
    const int dy = y - bounds_.top;
    for (QWidget* window : windows_) {
        const RECT rect = windowRect(window);
        window->setGeometry(rect.left + dx, rect.top + dy, rect.width(), rect.height());
    }
    bounds_ = bounds_.offset(dx, dy);
    if (repaint_ && parent_)
        parent_->update(bounds_.left, bounds_.top, bounds_.width(), bounds_.height());
}

void WindowGroup::moveBy(int dx, int dy)
{
    moveTo(bounds_.left + dx, bounds_.top + dy);
}

void WindowGroup::centerBetween(int left, int right)
{
    moveTo(left + (right - left - bounds_.width()) / 2, bounds_.top);
}

void WindowGroup::centerInParent()
{
    if (parent_)
        centerBetween(0, parent_->width());
}

void WindowGroup::placeBeside(const RECT& anchor, int placement, int gap)
{
    const POINT corner = computePlacement(bounds_, anchor, placement, gap);
    moveTo(corner.x, corner.y);
}

void WindowGroup::resizeEach(int width, int height, bool changeWidth, bool changeHeight)
{
    const std::vector<QWidget*> former = windows_;
    windows_.clear();
    bounds_ = {};
    hasBounds_ = false;
    for (QWidget* window : former) {
        const RECT rect = windowRect(window);
        const RECT sized = toRect(rect.left, rect.top, changeWidth ? width : rect.width(), changeHeight ? height : rect.height());
        window->setGeometry(sized.left, sized.top, sized.width(), sized.height());
        if (repaint_)
            window->update();
        add(window, sized);
    }
}

void WindowGroup::setWidth(int width) { resizeEach(width, 0, true, false); }
void WindowGroup::setHeight(int height) { resizeEach(0, height, false, true); }
void WindowGroup::setSize(int width, int height) { resizeEach(width, height, true, true); }

RECT WindowGroup::windowRect(const QWidget* window) const
{
    if (!window)
        return {};
    const RECT inOwnParent = getWindowRectInParent(window);
    const QWidget* own = window->parentWidget();
    if (!parent_ || own == parent_ || !own)
        return inOwnParent;
    const QPoint topLeft = parent_->mapFromGlobal(own->mapToGlobal(QPoint(inOwnParent.left, inOwnParent.top)));
    return toRect(topLeft.x(), topLeft.y(), inOwnParent.width(), inOwnParent.height());
}

void WindowGroup::showAll(bool show)
{
    for (QWidget* window : windows_)
        window->setVisible(show);
}

void WindowGroup::enableAll(bool enable)
{
    for (QWidget* window : windows_)
        window->setEnabled(enable);
}

} // namespace kova
