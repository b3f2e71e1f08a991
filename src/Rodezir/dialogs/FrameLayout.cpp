#include "Rodezir/dialogs/FrameLayout.h"

namespace kova {

LayoutItemPtr FrameLayout::create(const LayoutItemPtr& frame, const LayoutItemPtr& content)
{
    auto item = std::make_unique<FrameLayout>();
    item->setFrame(frame);
    item->setContent(content);
    return LayoutItemPtr(item.release());
}

void FrameLayout::setFrame(const LayoutItemPtr& frame)
{
    frame_ = frame;
    if (frame_)
        bounds = unionRect(bounds, frame_->getBounds());
}

void FrameLayout::setContent(const LayoutItemPtr& content)
{
    content_ = content;
    if (content_)
        bounds = unionRect(bounds, content_->getBounds());
}

RECT FrameLayout::getCurrentExtent() const
{
    return unionRect(frame_ ? frame_->getCurrentExtent() : RECT{}, content_ ? content_->getCurrentExtent() : RECT{});
}

void FrameLayout::place(const RECT& rect)
{
    if (frame_)
        frame_->place(rect);
    if (content_)
        content_->place({rect.left + insets_.left, rect.top + insets_.top, rect.right - insets_.right,
                         rect.bottom - insets_.bottom});
}

void FrameLayout::show(bool visible)
{
    if (frame_)
        frame_->show(visible);
    if (content_)
        content_->show(visible);
}

bool FrameLayout::hasVisiblePart() const
{
    if (frame_ && frame_->hasVisiblePart())
        return true;
    return content_ && content_->hasVisiblePart();
}

void FrameLayout::updateFrames()
{
    if (content_)
        content_->updateFrames();
    if (frame_)
        frame_->show(content_ && content_->hasVisiblePart());
}

void FrameLayout::setup(const RECT& rect)
{
    setupRect = rect;
    if (frame_)
        frame_->setup(rect);
    const RECT frame = frame_ ? frame_->getBounds() : RECT{};
    const RECT content = content_ ? content_->getBounds() : RECT{};
    insets_ = {content.left - frame.left, content.top - frame.top, frame.right - content.right,
               frame.bottom - content.bottom};
    if (content_)
        content_->setup(content);
    maximumRect = {0, 0, 10000, 10000};
}

void FrameLayout::notifyPlaced()
{
    if (frame_)
        frame_->notifyPlaced();
    if (content_)
        content_->notifyPlaced();
}

} // namespace kova
