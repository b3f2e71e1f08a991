// The report list's painting: background, entry row, grid, rows and the parts
// of a cell.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/BarGaugeWnd.h"
#include "controls/IconImageList.h"
#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <QPainter>

#include <algorithm>

namespace kova {

using namespace reportctrl;

void CReportCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    drawBackground(painter, client, system_[EMPTY_BACK]);

    if (style_ & RVS_ALLOWEDIT) {
        painter.fillRect(entryArea_, system_[ENTRY_ROW]);
        painter.setPen(system_[ENTRY_HIGHLIGHT]);
        painter.drawLine(entryArea_.topLeft(), entryArea_.topRight());
        painter.drawLine(entryArea_.topLeft(), entryArea_.bottomLeft());
        painter.setPen(system_[ENTRY_DARK_SHADOW]);
        painter.drawLine(entryArea_.bottomLeft(), entryArea_.bottomRight());
        painter.drawLine(entryArea_.topRight(), entryArea_.bottomRight());
        const QRect row(entryArea_.left(), entryArea_.top() + DLG_FRAME, entryArea_.width(), rowHeight_);
        painter.save();
        painter.setClipRect(entryArea_.adjusted(1, 1, -1, -1));
        drawItem(painter, row, entryArea_, -1, false);
        if (hasFocus_ && !editor_ && focusRow_ == -1 && focusColumn_ < 0) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(row.adjusted(1, 0, -2, -1));
        }
        painter.restore();
    }

    painter.setClipRect(itemArea_);
    const int count = getItemCount();
    if (count == 0) {
        painter.setPen(system_[TEXT]);
        painter.setFont(font_);
        const QRect band(itemArea_.left(), itemArea_.top() + 2, itemArea_.width(), rowHeight_);
        painter.drawText(band, Qt::AlignCenter | Qt::TextSingleLine,
                         QFontMetrics(font_).elidedText(noItemsText_, Qt::ElideRight, band.width()));
        return;
    }

    const bool grid = style_ & (RVS_SHOWHGRID | RVS_SHOWVGRID);
    QPen gridPen(system_[GRID], 1, gridStyle_);
    int y = itemArea_.top();
    int lastRowTop = -1;
    for (int position = firstRow_; position < count && y <= itemArea_.bottom(); ++position) {
        if (position == count - 1)
            lastRowTop = y;
        const int handle = getItemAtPosition(position);
        ItemRecord* record = getItemRecord(handle, -1, RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE | RVIM_LPARAM);
        const int extra = record ? std::max(0, record->extraHeight) : 0;
        const QRect row(itemArea_.left(), y, itemArea_.width(), rowHeight_ + extra);
        drawItem(painter, row, itemArea_, position, position % 2 == 1);
        if (extra > 0 && record) {
            ReportNotify area;
            area.code = RVN_ITEMDRAWPREVIEW;
            area.item = handle;
            area.newState = record->state;
            area.painter = &painter;
            area.rect = QRect(row.left(), y + rowHeight_, row.width(), extra);
            area.data = record->data;
            painter.save();
            notify(area);
            painter.restore();
        }
        if (style_ & RVS_SHOWHGRID) {
            painter.setPen(gridPen);
            painter.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        }
        if (hasFocus_ && !editor_ && position == focusRow_ && (!(style_ & RVS_FOCUSSUBITEMS) || focusColumn_ < 0)) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            const int inset = grid ? 1 : 0;
            painter.drawRect(row.adjusted(inset, 0, -1 - inset, -1 - inset));
        }
        y += row.height();
    }
    painter.setPen(gridPen);
    int gridBottom = (style_ & RVS_EXPANDGRID) ? itemArea_.bottom() : y - 1;
    // A last row that draws across the columns keeps the column lines out.
    if (lastRowFlag_ && lastRowTop >= 0)
        gridBottom = lastRowTop - 1;
    if ((style_ & RVS_SHOWHGRID) && (style_ & RVS_EXPANDGRID))
        for (int lineY = y + rowHeight_ - 1; lineY <= itemArea_.bottom(); lineY += rowHeight_)
            painter.drawLine(itemArea_.left(), lineY, itemArea_.right(), lineY);
    if (style_ & RVS_SHOWVGRID) {
        for (int order = 0; order < getActiveSubItemCount(); ++order) {
            const int column = header_->orderToIndex(order);
            const int right = columnLeft(column) + header_->getItemRect(column).width() - 1;
            painter.drawLine(right, itemArea_.top(), right, gridBottom);
        }
    }
}

void CReportCtrl::drawBackground(QPainter& painter, const QRect& rect, const QColor& colour)
{
    if (background_.isNull()) {
        painter.fillRect(rect, colour);
        return;
    }
    painter.save();
    painter.setClipRect(rect.intersected(itemArea_.isEmpty() ? rect : itemArea_.united(rect)));
    // Tiles line up with the scrolled origin, so the picture moves with the columns.
    const int w = background_.width();
    const int h = background_.height();
    const int originX = itemArea_.left() - hScroll_;
    int startX = originX + ((rect.left() - originX) / w) * w;
    if (startX > rect.left())
        startX -= w;
    const int startY = rect.top() - ((rect.top() - itemArea_.top()) % h + h) % h;
    for (int y = startY; y <= rect.bottom(); y += h)
        for (int x = startX; x <= rect.right(); x += w)
            painter.drawPixmap(x, y, background_);
    painter.restore();
}

void CReportCtrl::drawItem(QPainter& painter, const QRect& rect, const QRect& clip, int position, bool odd)
{
    const int handle = getItemAtPosition(position);
    ItemRecord* record = getItemRecord(handle, -1, RVIM_BKCOLOR | RVIM_ROWHEIGHT | RVIM_STATE);
    if (!record)
        return;
    const unsigned state = record->state;
    const int bkColor = record->bkColor;
    QColor back = system_[BACK];
    if (odd && (style_ & RVS_SHOWEVENBKCOLOR))
        back = colourAt(0, back);
    if (bkColor >= 0)
        back = colourAt(bkColor, back);
    const bool selected = state & RVIS_SELECTED;
    const bool showSelection = selected && (hasFocus_ || (style_ & RVS_SHOWSELALWAYS));
    if (showSelection)
        back = hasFocus_ ? system_[SELECTED_BACK] : system_[SELECTED_BACK_NO_FOCUS];
    if (background_.isNull() || back != system_[BACK])
        painter.fillRect(rect, back);
    else
        drawBackground(painter, rect, back);
    painter.setFont(rowFont(state));

    for (int order = 0; order < getActiveSubItemCount(); ++order) {
        const int column = header_->orderToIndex(order);
        const int width = header_->getItemRect(column).width();
        const int left = columnLeft(column);
        if (left + width <= clip.left())
            continue;
        if (left > clip.right())
            break;
        const int subItem = getSubItemFromColumn(column);
        CellDraw cell;
        ReportCell stored;
        if (ItemRecord* cellRecord = getItemRecord(handle, subItem, RVIM_TEXT | RVIM_TEXTCOLOR | RVIM_IMAGE | RVIM_CHECK))
            ReportCellCodec::readCell(cellRecord->rowText, subItem, stored, REPORT_TEXT_LIMIT);
        cell.cell.item = handle;
        cell.cell.subItem = subItem;
        cell.cell.text = stored.text;
        cell.cell.textColor = stored.colour;
        cell.cell.image = stored.image;
        cell.cell.check = stored.check;
        cell.cell.state = state;
        cell.format = subItems_[static_cast<std::size_t>(subItem)].format;
        if (ItemRecord* barRecord = getItemRecord(handle)) {
            const auto bar = barRecord->bars.find(subItem);
            if (bar != barRecord->bars.end())
                cell.bar = bar->second.get();
        }
        cell.back = back;
        cell.text = stored.colour >= 0 ? colourAt(stored.colour, system_[TEXT]) : system_[TEXT];
        if (showSelection && !((style_ & RVS_SHOWCOLORALWAYS) && stored.colour >= 0))
            cell.text = hasFocus_ ? system_[SELECTED_TEXT] : system_[SELECTED_TEXT_NO_FOCUS];
        const QRect cellRect(left, rect.top(), width, rowHeight_);
        const bool focusedCell = (style_ & RVS_FOCUSSUBITEMS) && position == focusRow_ && column == focusColumn_;
        if (focusedCell) {
            cell.back = system_[BACK];
            cell.text = system_[TEXT];
            painter.fillRect(cellRect, cell.back);
        }
        painter.save();
        painter.setClipRect(cellRect.intersected(clip));
        drawSubItem(painter, cellRect.adjusted(margin_, 0, -margin_, 0), cell);
        painter.restore();
        if (focusedCell && hasFocus_ && !editor_) {
            painter.setPen(QPen(system_[TEXT], 1, Qt::DotLine));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cellRect.adjusted(0, 0, -1, -1));
        }
    }
}

int CReportCtrl::drawSubItem(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    int x = rect.left();
    const int image = drawImage(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    if (cell.cell.image >= 0 && image == 0)
        return 0;
    if (image > 0)
        x += image + margin_;
    const int check = drawCheck(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    if (cell.cell.check >= 0 && check == 0)
        return x - rect.left();
    if (check > 0)
        x += check + margin_;
    x += drawText(painter, QRect(x, rect.top(), rect.right() + 1 - x, rect.height()), cell);
    return x - rect.left();
}

int CReportCtrl::drawImage(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (!images_ || cell.cell.image < 0 || cell.cell.image >= images_->count() || rect.width() < imageWidth_)
        return 0;
    const QPixmap picture = images_->pixmap(cell.cell.image);
    painter.drawPixmap(rect.left(), rect.top() + (rect.height() - picture.height()) / 2, picture);
    return imageWidth_;
}

int CReportCtrl::drawCheck(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (cell.cell.check < 0)
        return (cell.format & RVCF_SUBITEM_IMAGE) ? checkWidth_ : 0;
    if (rect.width() <= checkWidth_)
        return 0;
    const QRect box(rect.left(), rect.top() + (rect.height() - checkHeight_) / 2, checkWidth_, checkHeight_);
    painter.fillRect(box, cell.back);
    painter.setPen(QPen(system_[TEXT], 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    if (cell.cell.check > 0) {
        painter.setPen(QPen(system_[TEXT], std::max(1, checkWidth_ / 6)));
        const QRect in = box.adjusted(checkWidth_ / 5, checkHeight_ / 5, -checkWidth_ / 5, -checkHeight_ / 5);
        painter.drawLine(in.left(), in.center().y(), in.left() + in.width() / 3, in.bottom());
        painter.drawLine(in.left() + in.width() / 3, in.bottom(), in.right(), in.top());
    }
    return checkWidth_;
}

int CReportCtrl::drawText(QPainter& painter, const QRect& rect, const CellDraw& cell)
{
    if (cell.bar) {
        // A bar cell: the gauge fills the cell, one pixel in at the top and two at the bottom.
        cell.bar->drawInto(painter, rect.left(), rect.top() + 1, rect.right() + 1, rect.bottom() + 1 - 2, true);
        return 0;
    }
    if (cell.cell.text.empty() || rect.width() <= 0)
        return 0;
    static const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft};
    const QString text = qtext(cell.cell.text);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString shown = metrics.elidedText(text, Qt::ElideRight, rect.width());
    painter.setPen(cell.text);
    painter.drawText(rect, alignments[cell.format & RVCF_JUSTIFYMASK] | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    return std::min(metrics.horizontalAdvance(shown), rect.width());
}

} // namespace kova
