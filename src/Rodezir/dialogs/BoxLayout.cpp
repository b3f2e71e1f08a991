#include "Rodezir/dialogs/BoxLayout.h"

#include "Rodezir/dialogs/LayoutSpacer.h"

#include <algorithm>

namespace kova {
namespace {

// The start and end of a rectangle along the box's axis, and across it.
int alongStart(const RECT& r, bool vertical) { return vertical ? r.top : r.left; }
int alongEnd(const RECT& r, bool vertical) { return vertical ? r.bottom : r.right; }
int alongSize(const RECT& r, bool vertical) { return vertical ? r.height() : r.width(); }

} // namespace

void BoxLayout::add(int weight, const LayoutItemPtr& item, double cap)
{
    const RECT natural = item ? item->getBounds() : RECT{};
    items.push_back(item);
    weights.push_back(weight);
    caps.push_back(cap);
    naturalRects.push_back(natural);
    bounds = unionRect(bounds, natural);
    totalWeight += weight;
}

RECT BoxLayout::getCurrentExtent() const
{
    RECT extent;
    for (const auto& item : items)
        extent = unionRect(extent, item ? item->getCurrentExtent() : RECT{});
    return extent;
}

void BoxLayout::place(const RECT& rect)
{
    const bool v = vertical_;
    int dx = rect.left - bounds.left;
    int dy = rect.top - bounds.top;
    const int extra = alongSize(rect, v) - alongSize(bounds, v);
    for (std::size_t i = 0; i < items.size(); ++i) {
        int share = totalWeight != 0 ? weights[i] * extra / totalWeight : 0;
        const RECT& natural = naturalRects[i];
        if (caps[i] != 0.0) {
            const double size = alongSize(natural, v);
            if (size * caps[i] < size + share)
                share = static_cast<int>(size * (caps[i] - 1.0));
        }
        RECT target;
        if (v) {
            target = {natural.left + dx, natural.top + dy, natural.right - bounds.right + rect.right,
                      natural.bottom + dy + share};
            dy += share;
        } else {
            target = {natural.left + dx, natural.top + dy, natural.right + dx + share,
                      natural.bottom - bounds.bottom + rect.bottom};
            dx += share;
        }
        if (items[i])
            items[i]->place(target);
    }
}

void BoxLayout::show(bool visible)
{
    for (auto& item : items)
        if (item)
            item->show(visible);
}

bool BoxLayout::hasVisiblePart() const
{
    return std::any_of(items.begin(), items.end(), [](const LayoutItemPtr& item) { return item && item->hasVisiblePart(); });
}

void BoxLayout::updateFrames()
{
    for (auto& item : items)
        if (item)
            item->updateFrames();
}

void BoxLayout::notifyPlaced()
{
    for (auto& item : items)
        if (item)
            item->notifyPlaced();
}

void BoxLayout::setup(const RECT& rect)
{
    setupRect = rect;
    setMarginsWithin(rect);
    const bool v = vertical_;
    int start = alongStart(rect, v);
    RECT maximum;
    for (auto& item : items) {
        const RECT itemBounds = item ? item->getBounds() : RECT{};
        const int end = alongEnd(itemBounds, v);
        if (item) {
            item->setup(v ? RECT{rect.left, start, rect.right, end} : RECT{start, rect.top, end, rect.bottom});
            maximum = unionRect(maximum, item->getMaximumRect());
        }
        start = std::min(end + 1, alongEnd(rect, v));
    }
    maximumRect = maximum;
}

LayoutItemPtr addMargins(const LayoutItemPtr& item, int left, int top, int right, int bottom)
{
    LayoutItemPtr result = item;
    if (left != 0 || right != 0) {
        auto row = std::make_unique<RowLayout>();
        if (left != 0)
            row->add(0, LayoutSpacer::create(left, 0));
        row->add(1, result);
        if (right != 0)
            row->add(0, LayoutSpacer::create(right, 0));
        result = LayoutItemPtr(row.release());
    }
    if (top != 0 || bottom != 0) {
        auto column = std::make_unique<ColumnLayout>();
        if (top != 0)
            column->add(0, LayoutSpacer::create(0, top));
        column->add(1, result);
        if (bottom != 0)
            column->add(0, LayoutSpacer::create(0, bottom));
        result = LayoutItemPtr(column.release());
    }
    return result;
}

} // namespace kova
