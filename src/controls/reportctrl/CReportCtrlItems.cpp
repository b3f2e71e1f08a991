// The report list's item and cell store: rows and their records, the cache of
// owner-data rows, and the cell texts, images, checks and colours.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/BarGaugeWnd.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <algorithm>

namespace kova {

using namespace reportctrl;

namespace {

// The description that reads or writes one field of one cell or row.
ReportItem describe(int item, int subItem, unsigned mask)
{
    ReportItem description;
    description.mask = mask;
    description.item = item;
    description.subItem = subItem;
    return description;
}

} // namespace

// ---- item records ----------------------------------------------------------

CReportCtrl::ItemRecord* CReportCtrl::getItemRecord(int item, int subItem, unsigned mask)
{
    if (item == -1) {
        if (ReportCellCodec::cellCount(scratch_.rowText) < getSubItemCount())
            scratch_.rowText = ReportCellCodec::emptyRow(getSubItemCount());
        return &scratch_;
    }
    if (!ownerData())
        return (item >= 0 && item < static_cast<int>(items_.size())) ? &items_[static_cast<std::size_t>(item)] : nullptr;
    if (item < 0 || item >= ownerCount_)
        return nullptr;
    ItemRecord* record = caching_ ? findCachedItem(item) : nullptr;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    const bool cellKnown = subItem < 0 || (subItem < static_cast<int>(cacheFilled_[slot].size()) &&
                                          cacheFilled_[slot][static_cast<std::size_t>(subItem)]);
    if (record && cellKnown)
        return record;
    if (!record)
        record = allocCachedItem(item);
    requestItemData(item, subItem, mask);
    return record;
}

bool CReportCtrl::storeItemRecord(int item, const ItemRecord& record)
{
    if (ownerData())
        return false;
    ItemRecord* target = getItemRecord(item);
    if (!target)
        return false;
    *target = record;
    return true;
}

void CReportCtrl::requestItemData(int item, int subItem, unsigned mask)
{
    ItemRecord* record = findCachedItem(item);
    if (!record)
        return;
    ReportNotify request;
    request.code = RVN_ITEMCALLBACK;
    request.item = item;
    request.subItem = subItem;
    request.displayInfo.item = item;
    request.displayInfo.subItem = subItem;
    request.displayInfo.mask = mask | (subItem >= 0 ? RVIM_TEXT : 0u);
    request.displayInfo.textMax = REPORT_TEXT_LIMIT;
    notify(request);
    const ReportItem& answer = request.displayInfo;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    if (subItem >= 0 && subItem < getSubItemCount()) {
        ReportCell cell;
        if (answer.mask & RVIM_TEXT)
            cell.text = cutUtf8(answer.text, REPORT_TEXT_LIMIT - 1);
        if (answer.mask & RVIM_TEXTCOLOR)
            cell.colour = answer.textColor;
        if (answer.mask & RVIM_IMAGE)
            cell.image = answer.image;
        if (answer.mask & RVIM_CHECK)
            cell.check = answer.check;
        ReportCellCodec::writeCell(record->rowText, subItem, cell);
        if (subItem < static_cast<int>(cacheFilled_[slot].size()))
            cacheFilled_[slot][static_cast<std::size_t>(subItem)] = true;
    }
    record->bkColor = (answer.mask & RVIM_BKCOLOR) ? answer.bkColor : -1;
    record->extraHeight = (answer.mask & RVIM_ROWHEIGHT) ? answer.rowHeight : 0;
    // The selection lives in the control even when the rows do not.
    const unsigned kept = (std::find(selected_.begin(), selected_.end(), item) != selected_.end() ? RVIS_SELECTED : 0u) |
                          (getItemAtPosition(focusRow_) == item ? RVIS_FOCUSED : 0u);
    record->state = (((answer.mask & RVIM_STATE) ? answer.state : 0u) & ~(RVIS_FOCUSED | RVIS_SELECTED)) | kept;
    if (answer.mask & RVIM_LPARAM)
        record->data = answer.data;
}

CReportCtrl::ItemRecord* CReportCtrl::findCachedItem(int item)
{
    if (item < 0)
        return nullptr;
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    return cacheHandles_[slot] == item ? &cache_[slot] : nullptr;
}

CReportCtrl::ItemRecord* CReportCtrl::allocCachedItem(int item)
{
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    cacheHandles_[slot] = item;
    cache_[slot] = ItemRecord{};
    cache_[slot].rowText = ReportCellCodec::emptyRow(getSubItemCount());
    cacheFilled_[slot].assign(static_cast<std::size_t>(getSubItemCount()), false);
    return &cache_[slot];
}

void CReportCtrl::invalidateCachedItem(int item)
{
    if (item == -2) {
        cacheHandles_.fill(-2);
        return;
    }
    if (item == -1) {
        scratch_ = ItemRecord{};
        return;
    }
    const std::size_t slot = static_cast<std::size_t>(item % 128);
    if (cacheHandles_[slot] == item)
        cacheHandles_[slot] = -2;
}

bool CReportCtrl::readCell(int item, int subItem, ReportCell& cell)
{
    ItemRecord* record = getItemRecord(item, subItem, RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK);
    return record && ReportCellCodec::readCell(record->rowText, subItem, cell, REPORT_TEXT_LIMIT);
}

// ---- items -----------------------------------------------------------------

int CReportCtrl::insertItem(const ReportItem& item)
{
    if (ownerData())
        return -2;
    const int count = static_cast<int>(items_.size());
    const int at = std::clamp(item.item, 0, count);
    ItemRecord record;
    record.rowText = ReportCellCodec::emptyRow(getSubItemCount());
    items_.insert(items_.begin() + at, std::move(record));
    for (int& handle : order_)
        if (handle >= at)
            ++handle;
    for (int& handle : selected_)
        if (handle >= at)
            ++handle;
    if (editor_ && editItem_ >= at)
        ++editItem_;
    order_.insert(order_.begin() + at, at);
    if (focusRow_ >= at)
        ++focusRow_;
    indexDirty_ = true;
    ReportItem description = item;
    description.item = at;
    setItem(description);
    layout();
    return at;
}

bool CReportCtrl::setItem(const ReportItem& item)
{
    if (ownerData())
        return false;
    ItemRecord* record = getItemRecord(item.item);
    if (!record)
        return false;
    const unsigned cellMask = RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK;
    if (item.mask & cellMask) {
        ReportCell cell;
        if (!ReportCellCodec::readCell(record->rowText, item.subItem, cell))
            return false;
        if (item.mask & RVIM_TEXT)
            cell.text = item.text;
        if (item.mask & RVIM_TEXTCOLOR)
            cell.colour = item.textColor;
        if (item.mask & RVIM_IMAGE)
            cell.image = item.image;
        if (item.mask & RVIM_CHECK)
            cell.check = item.check;
        ReportCellCodec::writeCell(record->rowText, item.subItem, cell);
    }
    if (item.mask & RVIM_BKCOLOR)
        record->bkColor = item.bkColor;
    if (item.mask & RVIM_ROWHEIGHT)
        record->extraHeight = std::max(0, item.rowHeight);
    if (item.mask & RVIM_STATE)
        record->state = (item.state & ~(RVIS_FOCUSED | RVIS_SELECTED)) | (record->state & (RVIS_FOCUSED | RVIS_SELECTED));
    if (item.mask & RVIM_LPARAM)
        record->data = item.data;
    if (item.mask & RVIM_ROWHEIGHT)
        layout();
    update();
    return true;
}

bool CReportCtrl::getItem(ReportItem& item)
{
    ItemRecord* record = getItemRecord(item.item, item.subItem, item.mask);
    if (!record)
        return false;
    unsigned valid = RVIM_STATE | RVIM_LPARAM;
    ReportCell cell;
    const std::size_t limit = item.textMax > 0 ? static_cast<std::size_t>(item.textMax) : 0;
    if (ReportCellCodec::readCell(record->rowText, item.subItem, cell, limit)) {
        item.text = cell.text;
        item.textColor = cell.colour;
        item.image = cell.image;
        item.check = cell.check;
        if (!cell.text.empty() && item.textMax > 0)
            valid |= RVIM_TEXT;
        if (cell.colour != -1)
            valid |= RVIM_TEXTCOLOR;
        if (cell.image != -1)
            valid |= RVIM_IMAGE;
        if (cell.check != -1)
            valid |= RVIM_CHECK;
    } else {
        item.text.clear();
        item.textColor = item.image = item.check = -1;
    }
    item.bkColor = record->bkColor;
    item.rowHeight = record->extraHeight;
    item.state = record->state;
    item.data = record->data;
    if (record->bkColor >= 0)
        valid |= RVIM_BKCOLOR;
    if (record->extraHeight != 0)
        valid |= RVIM_ROWHEIGHT;
    item.mask = valid;
    return true;
}

std::string CReportCtrl::getItemText(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_TEXT);
    return getItem(d) ? d.text : std::string();
}

bool CReportCtrl::setItemText(int item, int subItem, const std::string& text)
{
    ReportItem d = describe(item, subItem, RVIM_TEXT);
    d.text = text;
    return setItem(d);
}

int CReportCtrl::getItemImage(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_IMAGE);
    return getItem(d) ? d.image : -1;
}

bool CReportCtrl::setItemImage(int item, int subItem, int image)
{
    ReportItem d = describe(item, subItem, RVIM_IMAGE);
    d.image = image;
    return setItem(d);
}

int CReportCtrl::getItemCheck(int item, int subItem)
{
    ReportItem d = describe(item, subItem, RVIM_CHECK);
    return getItem(d) ? d.check : -1;
}

bool CReportCtrl::setItemCheck(int item, int subItem, int check)
{
    ReportItem d = describe(item, subItem, RVIM_CHECK);
    d.check = check;
    return setItem(d);
}

std::intptr_t CReportCtrl::getItemData(int item)
{
    ReportItem d = describe(item, -1, RVIM_LPARAM);
    return getItem(d) ? d.data : 0;
}

bool CReportCtrl::setItemData(int item, std::intptr_t data)
{
    ReportItem d = describe(item, -1, RVIM_LPARAM);
    d.data = data;
    return setItem(d);
}

bool CReportCtrl::setItemBar(int item, int subItem, std::shared_ptr<BarGaugeWnd> gauge)
{
    ItemRecord* record = ownerData() && item != -1 ? nullptr : getItemRecord(item);
    if (!record || subItem < 0 || subItem >= getSubItemCount())
        return false;
    if (gauge)
        record->bars[subItem] = std::move(gauge);
    else
        record->bars.erase(subItem);
    update();
    return true;
}

std::shared_ptr<BarGaugeWnd> CReportCtrl::getItemBar(int item, int subItem) const
{
    const ItemRecord* record = item == -1 ? &scratch_
                               : (!ownerData() && item >= 0 && item < static_cast<int>(items_.size()))
                                   ? &items_[static_cast<std::size_t>(item)]
                                   : nullptr;
    if (!record)
        return nullptr;
    const auto at = record->bars.find(subItem);
    return at == record->bars.end() ? nullptr : at->second;
}

bool CReportCtrl::deleteItem(int item)
{
    if (ownerData() || item < 0 || item >= static_cast<int>(items_.size()))
        return false;
    if (editor_ && editItem_ == item)
        endEdit(false);
    const ItemRecord& record = items_[static_cast<std::size_t>(item)];
    notifyItem(RVN_ITEMDELETED, item, -1, record.state, record.data);
    const int position = getPositionOfItem(item);
    items_.erase(items_.begin() + item);
    if (position >= 0)
        order_.erase(order_.begin() + position);
    for (int& handle : order_)
        if (handle > item)
            --handle;
    selected_.erase(std::remove(selected_.begin(), selected_.end(), item), selected_.end());
    for (int& handle : selected_)
        if (handle > item)
            --handle;
    if (editor_ && editItem_ > item)
        --editItem_;
    indexDirty_ = true;
    const int count = getItemCount();
    if (focusRow_ > position && position >= 0)
        --focusRow_;
    if (focusRow_ >= count)
        focusRow_ = count - 1;
    if (count == 0 && focusRow_ >= 0)
        focusRow_ = -2;
    anchorRow_ = std::min(anchorRow_, std::max(0, count - 1));
    layout();
    update();
    return true;
}

bool CReportCtrl::deleteAllItems()
{
    if (ownerData())
        return false;
    if (editor_ && editItem_ >= 0)
        endEdit(false);
    for (int handle = 0; handle < static_cast<int>(items_.size()); ++handle)
        notifyItem(RVN_ITEMDELETED, handle, -1, items_[static_cast<std::size_t>(handle)].state,
                   items_[static_cast<std::size_t>(handle)].data);
    items_.clear();
    order_.clear();
    selected_.clear();
    indexDirty_ = true;
    focusRow_ = -2;
    anchorRow_ = 0;
    firstRow_ = 0;
    layout();
    update();
    return true;
}

int CReportCtrl::getItemCount() const { return ownerData() ? ownerCount_ : static_cast<int>(items_.size()); }

bool CReportCtrl::setItemCount(int count)
{
    if (!ownerData() || count < 0)
        return false;
    ownerCount_ = count;
    invalidateCachedItem(-2);
    selected_.erase(std::remove_if(selected_.begin(), selected_.end(), [count](int h) { return h >= count; }),
                    selected_.end());
    if (focusRow_ >= count)
        focusRow_ = count > 0 ? count - 1 : -2;
    layout();
    update();
    return true;
}

int CReportCtrl::getNextSelectedItem(int after) const
{
    const int count = getItemCount();
    for (int handle = std::max(0, after + 1); handle < count; ++handle) {
        const bool selected = ownerData()
                                  ? std::find(selected_.begin(), selected_.end(), handle) != selected_.end()
                                  : (items_[static_cast<std::size_t>(handle)].state & RVIS_SELECTED) != 0;
        if (selected)
            return handle;
    }
    return -2;
}

bool CReportCtrl::setFocusCell(int position, int column)
{
    if (position < -1 || position >= getItemCount() || column < -1 || column >= getActiveSubItemCount())
        return false;
    if (column >= 0) {
        const int subItem = getSubItemFromColumn(column);
        if (subItems_[static_cast<std::size_t>(subItem)].format & RVCF_SUBITEM_NOFOCUS)
            return false;
    }
    focusRowAt(position);
    focusColumn_ = column;
    update();
    return true;
}

void CReportCtrl::focusRowAt(int position)
{
    if (ItemRecord* old = (focusRow_ >= -1) ? getItemRecord(getItemAtPosition(focusRow_)) : nullptr)
        old->state &= ~RVIS_FOCUSED;
    focusRow_ = position;
    if (ItemRecord* now = (position >= -1) ? getItemRecord(getItemAtPosition(position)) : nullptr)
        now->state |= RVIS_FOCUSED;
}

int CReportCtrl::findItem(const ReportItem& criteria, unsigned flags, int start)
{
    const int count = getItemCount();
    if (count == 0)
        return -2;
    const int step = (flags & RVFI_UP) ? -1 : 1;
    int position = start + step;
    for (int visited = 0; visited < count; ++visited, position += step) {
        if (position < 0 || position >= count) {
            if (!(flags & RVFI_WRAP))
                return -2;
            position = (position + count) % count;
        }
        ReportCell cell;
        if (!readCell(getItemAtPosition(position), criteria.subItem, cell))
            continue;
        if (flags & RVFI_TEXT) {
            const bool partial = flags & RVFI_PARTIAL;
            if (partial ? cell.text.compare(0, criteria.text.size(), criteria.text) != 0 : cell.text != criteria.text)
                continue;
        }
        if ((flags & RVFI_IMAGE) && cell.image != criteria.image)
            continue;
        if ((flags & RVFI_CHECK) && cell.check != criteria.check)
            continue;
        return position;
    }
    return -2;
}

void CReportCtrl::rebuildIndex()
{
    positions_.assign(items_.size(), -2);
    for (std::size_t position = 0; position < order_.size(); ++position) {
        const int handle = order_[position];
        if (handle >= 0 && handle < static_cast<int>(positions_.size()))
            positions_[static_cast<std::size_t>(handle)] = static_cast<int>(position);
    }
    indexDirty_ = false;
}

int CReportCtrl::getPositionOfItem(int item)
{
    if (item == -1)
        return -1;
    if (ownerData())
        return (item >= 0 && item < ownerCount_) ? item : -2;
    if (indexDirty_)
        rebuildIndex();
    return (item >= 0 && item < static_cast<int>(positions_.size())) ? positions_[static_cast<std::size_t>(item)] : -2;
}

int CReportCtrl::getItemAtPosition(int position) const
{
    if (position == -1)
        return -1;
    if (position < 0 || position >= getItemCount())
        return -2;
    return ownerData() ? position : order_[static_cast<std::size_t>(position)];
}

bool CReportCtrl::moveRowUp(int position)
{
    if (ownerData() || position <= 0 || position >= getItemCount())
        return false;
    std::swap(order_[static_cast<std::size_t>(position - 1)], order_[static_cast<std::size_t>(position)]);
    if (focusRow_ == position)
        focusRow_ = position - 1;
    else if (focusRow_ == position - 1)
        focusRow_ = position;
    indexDirty_ = true;
    update();
    return true;
}

bool CReportCtrl::moveRowDown(int position)
{
    if (ownerData() || position < 0 || position + 1 >= getItemCount())
        return false;
    return moveRowUp(position + 1);
}

bool CReportCtrl::setRowOrder(const std::vector<int>& order)
{
    if (ownerData() || static_cast<int>(order.size()) != getItemCount())
        return false;
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size(); ++i)
        if (sorted[i] != static_cast<int>(i))
            return false;
    const int focused = focusRow_ >= 0 ? getItemAtPosition(focusRow_) : -2;
    order_ = order;
    indexDirty_ = true;
    if (focused >= 0)
        focusRow_ = getPositionOfItem(focused);
    update();
    return true;
}

} // namespace kova
