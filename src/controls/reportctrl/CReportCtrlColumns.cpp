// The report list's columns: subitem definitions, active columns and their
// order, widths and the header.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/BarGaugeWnd.h"
#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace kova {

using namespace reportctrl;

namespace {

constexpr int DEFAULT_WIDTH = 200;

// caller, so it is never handed to a printf.
std::string formatTooltip(const std::string& format, const std::string& caption)
{
    std::string result = format;
    const auto at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, caption);
    return result;
}

} // namespace

int CReportCtrl::defineSubItem(int subItem, const ReportSubItem& definition, bool refreshChooser)
{
    if (subItem < 0)
        return -1;
    ReportSubItem stored = definition;
    if (stored.width < 0)
        stored.width = DEFAULT_WIDTH;
    if (!(stored.format & RVCF_IMAGE))
        stored.image = 0;
    auto insertAt = [this](int at, const ReportSubItem& def) {
        subItems_.insert(subItems_.begin() + at, def);
        for (int i = 0; i < header_->getItemCount(); ++i) {
            FlatHeaderItem item;
            header_->getItem(i, item);
            if (item.lParam >= at) {
                ++item.lParam;
                QSignalBlocker block(header_);
                header_->setItem(i, item);
            }
        }
        auto shift = [at](ItemRecord& record) {
            ReportCellCodec::insertCell(record.rowText, at);
            std::map<int, std::shared_ptr<BarGaugeWnd>> bars;
            for (auto& [sub, gauge] : record.bars)
                bars[sub >= at ? sub + 1 : sub] = gauge;
            record.bars = std::move(bars);
        };
        if (!ownerData())
            for (ItemRecord& record : items_)
                shift(record);
        shift(scratch_);
    };
    ReportSubItem filler;
    filler.width = DEFAULT_WIDTH;
    while (static_cast<int>(subItems_.size()) < subItem)
        insertAt(static_cast<int>(subItems_.size()), filler);
    insertAt(subItem, stored);
    invalidateCachedItem(-2);
    if (refreshChooser)
        this->refreshChooser();
    return subItem;
}

bool CReportCtrl::setSubItem(int subItem, const ReportSubItem& definition, bool refresh)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    ReportSubItem stored = definition;
    if (stored.width < 0)
        stored.width = DEFAULT_WIDTH;
    if (!(stored.format & RVCF_IMAGE))
        stored.image = 0;
    subItems_[static_cast<std::size_t>(subItem)] = stored;
    if (isSubItemActive(subItem))
        setSubItemWidth(subItem, stored.width);
    if (refresh)
        refreshChooser();
    return true;
}

bool CReportCtrl::getSubItem(int subItem, ReportSubItem& definition) const
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    definition = subItems_[static_cast<std::size_t>(subItem)];
    return true;
}

int CReportCtrl::getSubItemWidth(int subItem) const
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return -1;
    return subItems_[static_cast<std::size_t>(subItem)].width;
}

int CReportCtrl::activateSubItem(int subItem, int order)
{
    if (subItem < 0 || subItem >= getSubItemCount() || isSubItemActive(subItem))
        return -1;
    const ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    FlatHeaderItem item;
    item.width = def.width;
    item.format = def.format & 0xFFFF;
    if (def.format & RVCF_TEXT)
        item.caption = qtext(def.caption);
    item.image = (def.format & RVCF_IMAGE) ? def.image : -1;
    item.lParam = subItem;
    const int count = header_->getItemCount();
    const int at = (order < 0 || order > count) ? count : order;
    int index = 0;
    {
        QSignalBlocker block(header_);
        index = header_->insertItem(at, item, at);
        FlatHeaderItemInfo info;
        info.flags = (def.format >> 16) & 0xFF;
        info.minWidth = def.minWidth;
        info.maxWidth = def.maxWidth;
        if (info.flags & FH_TOOLTIP)
            info.tooltip = qtext(formatTooltip(tooltipFormat_, def.caption));
        header_->setItemInfo(index, info);
    }
    FlatHeaderItem settled;
    header_->getItem(index, settled);
    subItems_[static_cast<std::size_t>(subItem)].width = settled.width;
    if (focusColumn_ >= index)
        ++focusColumn_;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
    return index;
}

bool CReportCtrl::deactivateSubItem(int subItem)
{
    const int column = getColumnFromSubItem(subItem);
    if (column < 0)
        return false;
    closeEditorKeepingText();
    header_->deleteItem(column);
    if (focusColumn_ == column)
        focusColumn_ = -1;
    else if (focusColumn_ > column)
        --focusColumn_;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
    return true;
}

void CReportCtrl::deactivateAllSubItems()
{
    closeEditorKeepingText();
    while (header_->getItemCount() > 0)
        header_->deleteItem(header_->getItemCount() - 1);
    focusColumn_ = -1;
    recomputeTotalWidth();
    layout();
    refreshChooser();
    update();
}

int CReportCtrl::getActiveSubItemCount() const { return header_->getItemCount(); }

int CReportCtrl::getSubItemFromColumn(int column) const
{
    FlatHeaderItem item;
    return header_->getItem(column, item) ? item.lParam : -1;
}

int CReportCtrl::getColumnFromSubItem(int subItem) const
{
    for (int i = 0; i < header_->getItemCount(); ++i)
        if (getSubItemFromColumn(i) == subItem)
            return i;
    return -1;
}

bool CReportCtrl::setSubItemWidth(int subItem, int width)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return false;
    ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    if (width < 0)
        width = DEFAULT_WIDTH;
    width = std::max(width, def.minWidth);
    if (def.maxWidth >= 0)
        width = std::min(width, def.maxWidth);
    def.width = width;
    const int column = getColumnFromSubItem(subItem);
    if (column >= 0) {
        FlatHeaderItem item;
        header_->getItem(column, item);
        item.width = width;
        header_->setItem(column, item);
    }
    recomputeTotalWidth();
    layout();
    return true;
}

void CReportCtrl::autoSizeColumn(int subItem)
{
    if (subItem < 0 || subItem >= getSubItemCount())
        return;
    const ReportSubItem& def = subItems_[static_cast<std::size_t>(subItem)];
    // Texts are elided by their exact width, so a column is sized to the
    // exact width rounded up, never down.
    const auto exactWidth = [](const QFontMetricsF& metrics, const std::string& text) {
        return static_cast<int>(std::ceil(metrics.horizontalAdvance(qtext(text))));
    };
    const QFontMetricsF plain(font_);
    const QFontMetricsF bold(boldFont_);
    // A list refreshed again and again measures the same texts: each once.
    constexpr std::size_t CACHED_WIDTHS = 4096;
    if (textWidths_.size() > CACHED_WIDTHS)
        textWidths_.clear();
    const auto cellTextWidth = [&](bool isBold, const std::string& text) {
        std::string key = (isBold ? "b" : "p") + text;
        const auto known = textWidths_.find(key);
        if (known != textWidths_.end())
            return known->second;
        const int measured = exactWidth(isBold ? bold : plain, text);
        textWidths_.emplace(std::move(key), measured);
        return measured;
    };
    int width = exactWidth(QFontMetricsF(header_->font()), def.caption) + 2 * margin_;
    if (!ownerData()) {
        for (const ItemRecord& record : items_) {
            ReportCell cell;
            if (!ReportCellCodec::readCell(record.rowText, subItem, cell, REPORT_TEXT_LIMIT))
                continue;
            int cellWidth = margin_;
            if (cell.image >= 0)
                cellWidth += imageWidth_ + margin_;
            if (cell.check >= 0)
                cellWidth += checkWidth_ + margin_;
            cellWidth += cellTextWidth(record.state & RVIS_BOLD, cell.text) + margin_;
            width = std::max(width, cellWidth);
        }
    }
    const int column = getColumnFromSubItem(subItem);
    if (column < 0) {
        subItems_[static_cast<std::size_t>(subItem)].width = width;
        return;
    }
    FlatHeaderItem item;
    header_->getItem(column, item);
    item.width = width;
    header_->setItem(column, item);
}

void CReportCtrl::autoSizeAllColumns()
{
    for (int i = 0; i < getSubItemCount(); ++i)
        autoSizeColumn(i);
}

void CReportCtrl::recomputeTotalWidth()
{
    int total = 0;
    for (int i = 0; i < header_->getItemCount(); ++i) {
        FlatHeaderItem item;
        header_->getItem(i, item);
        total += item.width;
    }
    totalWidth_ = total;
}

void CReportCtrl::onHeaderItemChanged(int index, unsigned changes)
{
    closeEditorKeepingText();
    FlatHeaderItem item;
    if (!header_->getItem(index, item) || item.lParam < 0 || item.lParam >= getSubItemCount())
        return;
    ReportSubItem& def = subItems_[static_cast<std::size_t>(item.lParam)];
    if (changes & HDI_FORMAT) {
        // Only the alignment comes from the header; the other format bits stay.
        def.format = (def.format & ~static_cast<std::uint32_t>(RVCF_JUSTIFYMASK)) | (item.format & RVCF_JUSTIFYMASK);
    }
    if (changes & HDI_WIDTH) {
        def.width = item.width;
        recomputeTotalWidth();
        layout();
        notifyItem(RVN_LAYOUTCHANGED, -1, item.lParam, 0, 0);
    }
    update();
}

void CReportCtrl::onDividerDoubleClicked(int index)
{
    closeEditorKeepingText();
    const int subItem = getSubItemFromColumn(index);
    ReportNotify record;
    record.code = RVN_DIVIDERDBLCLICK;
    record.subItem = subItem;
    if (notify(record) != 0)
        return;
    FlatHeaderItemInfo info;
    header_->getItemInfo(index, info);
    if ((info.flags & FH_FIXEDWIDTH) || getItemCount() == 0)
        return;
    autoSizeColumn(subItem);
}

} // namespace kova
