// The report list's geometry: layout of header, entry row and rows, scrolling,
// and the rectangles of rows and cells.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/CReportTipCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace kova {

using namespace reportctrl;

namespace {

constexpr int WHEEL_DELTA = 120;

} // namespace

// ---- layout and scrolling -----------------------------------------------------

int CReportCtrl::rowHeightAt(int position)
{
    const ItemRecord* record = getItemRecord(getItemAtPosition(position), -1, RVIM_ROWHEIGHT);
    return rowHeight_ + (record ? std::max(0, record->extraHeight) : 0);
}

int CReportCtrl::rowsFitting(int from)
{
    const int count = getItemCount();
    int rows = 0;
    int used = 0;
    for (int position = std::max(0, from); position < count; ++position) {
        used += rowHeightAt(position);
        if (used > itemArea_.height())
            break;
        ++rows;
    }
    return rows;
}

int CReportCtrl::lastFirstRow()
{
    const int count = getItemCount();
    int used = 0;
    int first = count;
    while (first > 0) {
        used += rowHeightAt(first - 1);
        if (used > itemArea_.height())
            break;
        --first;
    }
    return std::min(first, std::max(0, count - 1));
}

int CReportCtrl::rowTop(int position)
{
    if (position == -1)
        return entryArea_.top() + DLG_FRAME;
    int y = itemArea_.top();
    if (position >= firstRow_) {
        for (int p = firstRow_; p < position; ++p)
            y += rowHeightAt(p);
    } else {
        for (int p = position; p < firstRow_; ++p)
            y -= rowHeightAt(p);
    }
    return y;
}

void CReportCtrl::layout()
{
    if (inLayout_)
        return;
    inLayout_ = true;
    tip_->hide();
    const QRect client = contentsRect();
    const int headerHeight = (style_ & RVS_NOHEADER) ? 0 : header_->layoutHeight();
    const int entryHeight = (style_ & RVS_ALLOWEDIT) ? rowHeight_ + 2 * DLG_FRAME : 0;
    const int barWidth = vBar_->sizeHint().width();
    const int barHeight = hBar_->sizeHint().height();
    bool needV = false;
    bool needH = false;
    for (int pass = 0; pass < 3; ++pass) {
        const int width = client.width() - (needV ? barWidth : 0);
        const int height = client.height() - (needH ? barHeight : 0);
        itemArea_ = QRect(client.left(), client.top() + headerHeight + entryHeight, std::max(0, width),
                          std::max(0, height - headerHeight - entryHeight));
        needH = totalWidth_ > itemArea_.width();
        needV = getItemCount() > rowsFitting(0);
    }
    headerArea_ = QRect(client.left(), client.top(), itemArea_.width(), headerHeight);
    entryArea_ = QRect(client.left(), headerArea_.bottom() + 1, itemArea_.width(), entryHeight);
    header_->setGeometry(headerArea_);
    header_->setVisible(headerHeight > 0);
    vBar_->setGeometry(client.right() + 1 - barWidth, client.top(), barWidth, itemArea_.bottom() + 1 - client.top());
    vBar_->setVisible(needV);
    hBar_->setGeometry(client.left(), itemArea_.bottom() + 1, itemArea_.width(), barHeight);
    hBar_->setVisible(needH);
    inLayout_ = false;
    updateScrollBars();
}

void CReportCtrl::updateScrollBars()
{
    const bool wasInLayout = inLayout_;
    inLayout_ = true;
    const int maxScroll = std::max(0, totalWidth_ - itemArea_.width());
    hScroll_ = std::clamp(hScroll_, 0, maxScroll);
    hBar_->setRange(0, maxScroll);
    hBar_->setPageStep(std::max(1, itemArea_.width()));
    hBar_->setSingleStep(std::max(1, itemArea_.width() / 8));
    hBar_->setValue(hScroll_);
    header_->setOffset(hScroll_);
    const int maxFirst = lastFirstRow();
    firstRow_ = std::clamp(firstRow_, 0, maxFirst);
    vBar_->setRange(0, maxFirst);
    vBar_->setPageStep(std::max(1, rowsFitting(firstRow_)));
    vBar_->setValue(firstRow_);
    inLayout_ = wasInLayout;
}

void CReportCtrl::resizeEvent(QResizeEvent* event)
{
    closeEditorKeepingText();
    QFrame::resizeEvent(event);
    layout();
}

void CReportCtrl::onVScroll(int code, int position)
{
    closeEditorKeepingText();
    tip_->hide();
    const int maxFirst = lastFirstRow();
    const int page = std::max(1, rowsFitting(firstRow_));
    int first = firstRow_;
    switch (code) {
    case SB_LINEUP:
        --first;
        break;
    case SB_LINEDOWN:
        ++first;
        break;
    case SB_PAGEUP:
        first -= page;
        break;
    case SB_PAGEDOWN:
        first += page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        first = position;
        break;
    case SB_TOP:
        first = 0;
        break;
    case SB_BOTTOM:
        first = maxFirst;
        break;
    default:
        return;
    }
    first = std::clamp(first, 0, maxFirst);
    if (first == firstRow_)
        return;
    firstRow_ = first;
    updateScrollBars();
    update();
}

void CReportCtrl::onHScroll(int code, int position)
{
    closeEditorKeepingText();
    tip_->hide();
    const int maxScroll = std::max(0, totalWidth_ - itemArea_.width());
    int scroll = hScroll_;
    switch (code) {
    case SB_LINELEFT:
        scroll -= itemArea_.width() / 8;
        break;
    case SB_LINERIGHT:
        scroll += itemArea_.width() / 8;
        break;
    case SB_PAGELEFT:
        scroll -= itemArea_.width();
        break;
    case SB_PAGERIGHT:
        scroll += itemArea_.width();
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        scroll = position;
        break;
    case SB_LEFT:
        scroll = 0;
        break;
    case SB_RIGHT:
        scroll = totalWidth_;
        break;
    default:
        return;
    }
    scroll = std::clamp(scroll, 0, maxScroll);
    if (scroll == hScroll_)
        return;
    hScroll_ = scroll;
    updateScrollBars();
    update();
}

void CReportCtrl::ensureVisible(int position)
{
    if (position < 0 || position >= getItemCount())
        return;
    if (position < firstRow_)
        firstRow_ = position;
    else
        while (firstRow_ < position && position >= firstRow_ + std::max(1, rowsFitting(firstRow_)))
            ++firstRow_;
    updateScrollBars();
    update();
}

void CReportCtrl::onMouseWheel(int delta)
{
    int steps = 0;
    int code = 0;
    if (wheelLines_ == WHEEL_PAGESCROLL) {
        steps = delta / WHEEL_DELTA;
        code = steps > 0 ? SB_PAGEUP : SB_PAGEDOWN;
    } else {
        steps = delta * wheelLines_ / WHEEL_DELTA;
        code = steps > 0 ? SB_LINEUP : SB_LINEDOWN;
    }
    // Posted, so the steps run after the wheel event is done.
    for (int i = 0; i < std::abs(steps); ++i)
        QMetaObject::invokeMethod(this, [this, code] { onVScroll(code); }, Qt::QueuedConnection);
}

void CReportCtrl::wheelEvent(QWheelEvent* event)
{
    onMouseWheel(event->angleDelta().y());
    event->accept();
}

// ---- geometry of cells ---------------------------------------------------------

int CReportCtrl::columnLeft(int column) const
{
    int x = itemArea_.left() - hScroll_;
    const int order = header_->indexToOrder(column);
    for (int o = 0; o < order; ++o)
        x += header_->getItemRect(header_->orderToIndex(o)).width();
    return x;
}

QRect CReportCtrl::getCellRect(int position, int column, bool inner)
{
    if (column < 0 || column >= getActiveSubItemCount())
        return {};
    const QRect rect(columnLeft(column), rowTop(position), header_->getItemRect(column).width(), rowHeight_);
    return inner ? rect.adjusted(margin_, 0, -margin_, 0) : rect;
}

bool CReportCtrl::hitTestCell(const QPoint& point, int& position, int& column)
{
    if (!itemArea_.contains(point))
        return false;
    int y = itemArea_.top();
    const int count = getItemCount();
    position = -2;
    for (int p = firstRow_; p < count && y <= itemArea_.bottom(); ++p) {
        const int height = rowHeightAt(p);
        if (point.y() >= y && point.y() < y + rowHeight_) {
            position = p;
            break;
        }
        y += height;
    }
    if (position < 0)
        return false;
    for (int c = 0; c < getActiveSubItemCount(); ++c) {
        const int left = columnLeft(c);
        if (point.x() >= left && point.x() < left + header_->getItemRect(c).width()) {
            column = c;
            return true;
        }
    }
    return false;
}

int CReportCtrl::nextColumn(int column, int step) const
{
    const int count = getActiveSubItemCount();
    int order = column < 0 ? -1 : header_->indexToOrder(column);
    for (order += step; order >= 0 && order < count; order += step) {
        const int index = header_->orderToIndex(order);
        const int subItem = getSubItemFromColumn(index);
        if (!(subItems_[static_cast<std::size_t>(subItem)].format & RVCF_SUBITEM_NOFOCUS))
            return index;
    }
    return step < 0 ? -1 : column;
}

void CReportCtrl::redrawRow(int position)
{
    if (position == -1) {
        update(entryArea_);
        return;
    }
    update(QRect(itemArea_.left(), rowTop(position), itemArea_.width(), rowHeightAt(position)));
}

} // namespace kova
