#include "Rodezir/dialogs/ControlGroup.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogItem.h"
#include "Rodezir/dialogs/WindowGeometry.h"

#include <QWidget>

#include <algorithm>
#include <initializer_list>

namespace kova {
LayoutItemPtr ControlGroup::create(QWidget* parent, int id1, int id2, int id3, int id4, int id5, int id6, int id7,
                                   int id8)
{
    auto group = std::make_unique<ControlGroup>();
    group->parent_ = parent;
    for (int id : {id1, id2, id3, id4, id5, id6, id7, id8})
        group->addId(id);
    return LayoutItemPtr(group.release());
}

LayoutItemPtr ControlGroup::createExtended(const LayoutItemPtr& group, int id1, int id2, int id3, int id4, int id5,
                                           int id6, int id7, int id8)
{
    const auto* source = dynamic_cast<const ControlGroup*>(group.get());
    if (!source) {
        LogStream::instance() << "ControlGroup::createExtended() : not a control group." << LogStream::endl;
        return {};
    }
    std::unique_ptr<ControlGroup> extended(source->clone());
    for (int id : {id1, id2, id3, id4, id5, id6, id7, id8})
        extended->addId(id);
    return LayoutItemPtr(extended.release());
}

LayoutItemPtr ControlGroup::createFromWindows(QWidget* w1, QWidget* w2, QWidget* w3, QWidget* w4, QWidget* w5,
                                              QWidget* w6, QWidget* w7, QWidget* w8)
{
    auto group = std::make_unique<ControlGroup>();
    group->add(w1);
    for (QWidget* window : {w2, w3, w4, w5, w6, w7, w8})
        if (window)
            group->add(window);
    return LayoutItemPtr(group.release());
}

LayoutItemPtr ControlGroup::createFromIds(QWidget* parent, const std::vector<int>& ids)
{
    auto group = std::make_unique<ControlGroup>();
    group->parent_ = parent;
    for (int id : ids)
        group->addId(id);
    return LayoutItemPtr(group.release());
}

LayoutItemPtr ControlGroup::createFromList(const std::vector<QWidget*>& windows)
{
    auto group = std::make_unique<ControlGroup>();
    for (QWidget* window : windows)
        group->add(window);
    return LayoutItemPtr(group.release());
}

void ControlGroup::addId(int id)
{
    if (id == 0)
        return;
    QWidget* control = getDlgItem(parent_, id);
    if (!control) {
        LogStream::instance() << "ControlGroup : no control " << id << " in the dialog." << LogStream::endl;
        return;
    }
    add(control);
}

void ControlGroup::add(QWidget* control)
{
    if (!control)
        return;
    if (!parent_)
        parent_ = control->parentWidget();
    const RECT rect = getWindowRectInParent(control);
    bounds = hasBounds_ ? unionRect(bounds, rect) : rect;
    hasBounds_ = true;
    windows_.push_back(control);
    naturalRects_.push_back(rect);
}

RECT ControlGroup::getCurrentExtent() const
{
    RECT extent;
    for (QWidget* control : windows_)
        extent = unionRect(extent, getWindowRectInParent(control));
    return extent;
}

void ControlGroup::place(const RECT& rect)
{
    const double sx = scaleOf(rect.width(), bounds.width());
    const double sy = scaleOf(rect.height(), bounds.height());
    for (std::size_t i = 0; i < windows_.size(); ++i) {
        const RECT& n = naturalRects_[i];
        const int width = static_cast<int>(n.width() * sx);
        const int height = static_cast<int>(n.height() * sy);
        const int x = rect.left + static_cast<int>((n.left - bounds.left) * sx);
        const int y = rect.top + static_cast<int>((n.top - bounds.top) * sy);
        windows_[i]->setGeometry(x, y, width, height);
        if (QWidget* parent = windows_[i]->parentWidget())
            parent->update(x, y, width, height);
    }
}

void ControlGroup::show(bool visible)
{
    for (QWidget* control : windows_)
        control->setVisible(visible);
}

bool ControlGroup::hasVisiblePart() const
{
    return std::any_of(windows_.begin(), windows_.end(), [](const QWidget* control) { return control->isVisible(); });
}

void ControlGroup::setup(const RECT& rect)
{
    setupRect = rect;
    setMarginsWithin(rect);
    maximumRect = {rect.left, rect.top, 10000, 10000};
}

} // namespace kova
