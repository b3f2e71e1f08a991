#include "Rodezir/dialogs/LayoutItem.h"

namespace kova {

void LayoutItem::placeWithMargins(const RECT& rect)
{
    place({rect.left + margins.left, rect.top + margins.top, rect.right - margins.right, rect.bottom - margins.bottom});
}

void LayoutItem::setup(const RECT& rect)
{
    setupRect = rect;
    maximumRect = rect;
}

void LayoutItem::setMarginsWithin(const RECT& rect)
{
    margins = {bounds.left - rect.left, bounds.top - rect.top, rect.right - bounds.right, rect.bottom - bounds.bottom};
}

} // namespace kova
