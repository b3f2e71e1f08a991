// The report list's selection, focus row and sorting.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "Rodezir/dialogs/ControlNotifier.h"

#include <algorithm>
#include <cstring>

namespace kova {

namespace {

int sign(int value) { return (value > 0) - (value < 0); }

} // namespace

void CReportCtrl::setSelection(int position, bool selected, bool notifyParent)
{
    const int handle = getItemAtPosition(position);
    ItemRecord* record = getItemRecord(handle);
    if (!record || ((record->state & RVIS_SELECTED) != 0) == selected)
        return;
    const unsigned newState = selected ? (record->state | RVIS_SELECTED) : (record->state & ~RVIS_SELECTED);
    if (notifyParent && notifyItem(RVN_SELECTIONCHANGING, handle, -1, newState, record->data) != 0)
        return;
    record = getItemRecord(handle);
    if (!record)
        return;
    record->state = newState;
    if (selected)
        selected_.push_back(handle);
    else
        selected_.erase(std::remove(selected_.begin(), selected_.end(), handle), selected_.end());
    if (notifyParent) {
        notifyItem(RVN_SELECTIONCHANGED, handle, -1, newState, record->data);
        ControlNotifier::send(this, Notification::ListItemChanged);
    }
}

void CReportCtrl::selectRange(int first, int last, bool select, bool keepOthers, bool toggle, bool notifyParent)
{
    if (style_ & RVS_SINGLESELECT) {
        last = first;
        keepOthers = false;
    }
    if (first != focusRow_)
        focusRowAt(first);
    else if (ItemRecord* record = getItemRecord(getItemAtPosition(first)))
        record->state |= RVIS_FOCUSED;
    if (select) {
        const int low = std::min(first, last);
        const int high = std::max(first, last);
        for (int position = low; position <= high; ++position) {
            const ItemRecord* record = getItemRecord(getItemAtPosition(position));
            if (!record)
                continue;
            const bool now = (record->state & RVIS_SELECTED) != 0;
            setSelection(position, toggle ? !now : true, notifyParent);
        }
        if (!keepOthers) {
            const std::vector<int> before = selected_;
            for (int handle : before) {
                const int position = getPositionOfItem(handle);
                if (position < low || position > high)
                    setSelection(position, false, notifyParent);
            }
        }
    }
    update();
}

int CReportCtrl::compareItems(int subItem, int itemA, int itemB)
{
    if (compare_)
        return compare_(subItem, itemA, itemB);
    ReportItem a, b;
    a.mask = b.mask = RVIM_TEXT | RVIM_IMAGE;
    a.item = itemA;
    b.item = itemB;
    a.subItem = b.subItem = subItem;
    getItem(a);
    getItem(b);
    return compareCells(a, b);
}

int CReportCtrl::compareCells(const ReportItem& cellA, const ReportItem& cellB)
{
    if (cellA.text.empty() && cellB.text.empty())
        return sign(cellA.image - cellB.image);
    return sign(std::strcmp(cellA.text.c_str(), cellB.text.c_str()));
}

void CReportCtrl::sortRange(int subItem, int first, int last, bool ascending)
{
    while (first < last) {
        const int pivot = order_[static_cast<std::size_t>((first + last) / 2)];
        auto compare = [&](int a, int b) {
            const int result = compareItems(subItem, a, b);
            return ascending ? result : -result;
        };
        int i = first;
        int j = last;
        while (i <= j) {
            // The bounds keep a compare function that contradicts itself from
            // walking off the rows.
            while (i < last && compare(order_[static_cast<std::size_t>(i)], pivot) < 0)
                ++i;
            while (j > first && compare(order_[static_cast<std::size_t>(j)], pivot) > 0)
                --j;
            if (i <= j) {
                std::swap(order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller half, loop over the larger one.
        if (j - first < last - i) {
            sortRange(subItem, first, j, ascending);
            first = i;
        } else {
            sortRange(subItem, i, last, ascending);
            last = j;
        }
    }
}

bool CReportCtrl::sortByColumn(int subItem, bool ascending)
{
    if (ownerData() || subItem < 0 || subItem >= getSubItemCount())
        return false;
    closeEditorKeepingText();
    header_->setSortColumn(getColumnFromSubItem(subItem), ascending);
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    sortRange(subItem, 0, getItemCount() - 1, ascending);
    indexDirty_ = true;
    if (focused >= 0) {
        focusRow_ = getPositionOfItem(focused);
        ensureVisible(focusRow_);
    }
    update();
    return true;
}

bool CReportCtrl::resort()
{
    bool ascending = true;
    const int column = header_->getSortColumn(&ascending);
    const int subItem = getSubItemFromColumn(column);
    return subItem >= 0 && sortByColumn(subItem, ascending);
}

bool CReportCtrl::sortItems(bool ascending)
{
    if (ownerData())
        return false;
    closeEditorKeepingText();
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    const int count = getItemCount();
    const int columns = getActiveSubItemCount();
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count; ++j) {
            int result = 0;
            for (int order = 0; order < columns && result == 0; ++order)
                result = compareItems(getSubItemFromColumn(header_->orderToIndex(order)),
                                      order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
            if ((ascending && result > 0) || (!ascending && result < 0))
                std::swap(order_[static_cast<std::size_t>(i)], order_[static_cast<std::size_t>(j)]);
        }
    }
    indexDirty_ = true;
    if (focused >= 0) {
        focusRow_ = getPositionOfItem(focused);
        ensureVisible(focusRow_);
    }
    update();
    return true;
}

} // namespace kova
