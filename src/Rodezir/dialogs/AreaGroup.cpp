#include "Rodezir/dialogs/AreaGroup.h"

#include <algorithm>

namespace kova {
LayoutItemPtr AreaGroup::create(const LayoutArea& a1, const LayoutArea& a2, const LayoutArea& a3,
                                const LayoutArea& a4, const LayoutArea& a5, const LayoutArea& a6,
                                const LayoutArea& a7, const LayoutArea& a8)
{
    auto group = std::make_unique<AreaGroup>();
    group->add(a1);
    const LayoutArea none;
    for (const LayoutArea* area : {&a2, &a3, &a4, &a5, &a6, &a7, &a8})
        if (!area->sameAs(none))
            group->add(*area);
    return LayoutItemPtr(group.release());
}

void AreaGroup::add(const LayoutArea& area)
{
    bounds = hasBounds_ ? unionRect(bounds, area.rect) : area.rect;
    hasBounds_ = true;
    areas_.push_back(area);
    naturalRects_.push_back(area.rect);
}

void AreaGroup::addAll(const AreaGroup& other)
{
    for (const auto& area : other.areas_)
        add(area);
}

RECT AreaGroup::getCurrentExtent() const
{
    RECT extent;
    for (const auto& area : areas_)
        extent = unionRect(extent, area.rect);
    return extent;
}

void AreaGroup::place(const RECT& rect)
{
    const double sx = scaleOf(rect.width(), bounds.width());
    const double sy = scaleOf(rect.height(), bounds.height());
    for (std::size_t i = 0; i < areas_.size(); ++i) {
        const RECT& n = naturalRects_[i];
        const int left = rect.left + static_cast<int>((n.left - bounds.left) * sx);
        const int top = rect.top + static_cast<int>((n.top - bounds.top) * sy);
        areas_[i].rect = {left, top, left + static_cast<int>(n.width() * sx), top + static_cast<int>(n.height() * sy)};
    }
}

void AreaGroup::show(bool visible)
{
    for (auto& area : areas_)
        area.visible = visible;
}

bool AreaGroup::hasVisiblePart() const
{
    return std::any_of(areas_.begin(), areas_.end(), [](const LayoutArea& area) { return area.visible; });
}

void AreaGroup::setup(const RECT& rect)
{
    setupRect = rect;
    setMarginsWithin(rect);
    maximumRect = {rect.left, rect.top, 10000, 10000};
}

void AreaGroup::notifyPlaced()
{
    for (auto& area : areas_)
        area.listeners.notify(area.rect.left, area.rect.top, area.rect.right, area.rect.bottom, area.visible);
}

} // namespace kova
