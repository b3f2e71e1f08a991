#include "Rodezir/dialogs/AspectLayout.h"

#include <limits>

namespace kova {
namespace {

// Truncates toward zero, held within int so a huge quotient cannot overflow.
int truncated(double value)
{
    constexpr double limit = std::numeric_limits<int>::max();
    if (value >= limit)
        return std::numeric_limits<int>::max();
    if (value <= -limit)
        return -std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

} // namespace

LayoutItemPtr AspectLayout::create(const LayoutItemPtr& child)
{
    auto item = std::make_unique<AspectLayout>();
    item->setChild(child);
    return LayoutItemPtr(item.release());
}

void AspectLayout::setChild(const LayoutItemPtr& child)
{
    child_ = child;
    if (child_)
        bounds = unionRect(bounds, child_->getBounds());
}

RECT AspectLayout::getCurrentExtent() const
{
    return child_ ? child_->getCurrentExtent() : RECT{};
}

RECT AspectLayout::fit(const RECT& natural, const RECT& rect)
{
    const double ratio = natural.height() != 0 ? static_cast<double>(natural.width()) / natural.height() : 1.0;
    const int fullWidth = rect.width();
    const int fullHeight = rect.height();
    // With no natural width every height is too tall, so the child gets the
    // full height and no width.
    const bool heightKnown = ratio != 0.0;
    const int h1 = heightKnown ? truncated(fullWidth / ratio) : 0;
    const int w1 = truncated(fullHeight * ratio);
    int width = 10;
    int height = 10;
    if (heightKnown && h1 <= fullHeight) {
        width = fullWidth;
        height = h1;
    } else if (w1 <= fullWidth) {
        width = w1;
        height = fullHeight;
    }
    const int left = rect.left + (fullWidth - width) / 2;
    const int top = rect.top + (fullHeight - height) / 2;
    return {left, top, left + width, top + height};
}

void AspectLayout::place(const RECT& rect)
{
    if (child_)
        child_->place(fit(bounds, rect));
}

void AspectLayout::show(bool visible)
{
    if (child_)
        child_->show(visible);
}

bool AspectLayout::hasVisiblePart() const
{
    return child_ && child_->hasVisiblePart();
}

void AspectLayout::updateFrames()
{
    if (child_)
        child_->updateFrames();
}

void AspectLayout::setup(const RECT& rect)
{
    setupRect = rect;
    if (child_)
        child_->setup(rect);
    maximumRect = {0, 0, 10000, 10000};
}

void AspectLayout::notifyPlaced()
{
    if (child_)
        child_->notifyPlaced();
}

} // namespace kova
