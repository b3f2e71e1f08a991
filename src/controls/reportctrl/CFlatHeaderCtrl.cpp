#include "controls/reportctrl/CFlatHeaderCtrl.h"

#include "controls/OwnerDraw.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPolygon>
#include <QToolTip>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace kova {
namespace {

// How near a divider a press grabs it.
constexpr int DIVIDER_GRIP = 4;
constexpr int CAPTION_LIMIT = 80;

int alignmentOf(unsigned format) { return static_cast<int>(format & 0x3); }

} // namespace

CFlatHeaderCtrl::CFlatHeaderCtrl(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSystemColours();
}

CFlatHeaderCtrl::~CFlatHeaderCtrl() = default;

void CFlatHeaderCtrl::setSystemColours()
{
    const QPalette pal = QApplication::palette();
    highlight_ = pal.color(QPalette::Light);
    shadow_ = pal.color(QPalette::Mid);
    face_ = pal.color(QPalette::Button);
    text_ = pal.color(QPalette::ButtonText);
}

void CFlatHeaderCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange) {
        setSystemColours();
        update();
    }
    QWidget::changeEvent(event);
}

int CFlatHeaderCtrl::insertItem(int index, const FlatHeaderItem& item, int order)
{
    const int count = getItemCount();
    index = std::clamp(index, 0, count);
    items_.insert(items_.begin() + index, Entry{item, FlatHeaderItemInfo{}});
    for (int& i : order_)
        if (i >= index)
            ++i;
    if (order < 0 || order > count)
        order = count;
    order_.insert(order_.begin() + order, index);
    if (sortColumn_ >= index)
        ++sortColumn_;
    update();
    return index;
}

bool CFlatHeaderCtrl::deleteItem(int index)
{
    if (index < 0 || index >= getItemCount())
        return false;
    items_.erase(items_.begin() + index);
    order_.erase(std::find(order_.begin(), order_.end(), index));
    for (int& i : order_)
        if (i > index)
            --i;
    if (sortColumn_ == index)
        sortColumn_ = -1;
    else if (sortColumn_ > index)
        --sortColumn_;
    update();
    return true;
}

bool CFlatHeaderCtrl::getItem(int index, FlatHeaderItem& item) const
{
    if (index < 0 || index >= getItemCount())
        return false;
    item = items_[static_cast<std::size_t>(index)].item;
    return true;
}

bool CFlatHeaderCtrl::setItem(int index, const FlatHeaderItem& item)
{
    if (index < 0 || index >= getItemCount())
        return false;
    FlatHeaderItem& old = items_[static_cast<std::size_t>(index)].item;
    unsigned changes = 0;
    if (old.width != item.width)
        changes |= HDI_WIDTH;
    if (old.format != item.format)
        changes |= HDI_FORMAT;
    old = item;
    update();
    if (changes)
        emit itemChanged(index, changes);
    return true;
}

int CFlatHeaderCtrl::orderToIndex(int order) const
{
    if (order < 0 || order >= static_cast<int>(order_.size()))
        return -1;
    return order_[static_cast<std::size_t>(order)];
}

int CFlatHeaderCtrl::indexToOrder(int index) const
{
    const auto at = std::find(order_.begin(), order_.end(), index);
    return at == order_.end() ? -1 : static_cast<int>(at - order_.begin());
}

QRect CFlatHeaderCtrl::getItemRect(int index) const
{
    int x = -offset_;
    for (int i : order_) {
        const int w = items_[static_cast<std::size_t>(i)].item.width;
        if (i == index)
            return QRect(x, 0, w, height());
        x += w;
    }
    return {};
}

int CFlatHeaderCtrl::hitTest(const QPoint& point, unsigned* flags) const
{
    unsigned hit = HHT_NOWHERE;
    int found = -1;
    int x = -offset_;
    if (point.y() >= 0 && point.y() < height()) {
        for (int i : order_) {
            const int right = x + items_[static_cast<std::size_t>(i)].item.width;
            if (std::abs(point.x() - right) <= DIVIDER_GRIP) {
                found = i;
                hit = HHT_ONDIVIDER;
            } else if (found < 0 && point.x() >= x && point.x() < right) {
                found = i;
                hit = HHT_ONHEADER;
            }
            x = right;
        }
    }
    if (flags)
        *flags = hit;
    return found;
}

bool CFlatHeaderCtrl::setItemInfo(int index, const FlatHeaderItemInfo& info)
{
    if (index < 0 || index >= getItemCount())
        return false;
    Entry& entry = items_[static_cast<std::size_t>(index)];
    entry.info = info;
    int width = entry.item.width;
    if (info.flags & FH_AUTOWIDTH)
        width = contentWidth(index);
    const int maximum = info.maxWidth < 0 ? std::numeric_limits<int>::max() : info.maxWidth;
    if (!(info.flags & FH_FIXEDWIDTH) && info.minWidth <= maximum)
        width = std::clamp(width, info.minWidth, maximum);
    if (width != entry.item.width) {
        FlatHeaderItem item = entry.item;
        item.width = width;
        setItem(index, item);
    }
    return true;
}

bool CFlatHeaderCtrl::getItemInfo(int index, FlatHeaderItemInfo& info) const
{
    if (index < 0 || index >= getItemCount())
        return false;
    info = items_[static_cast<std::size_t>(index)].info;
    return true;
}

void CFlatHeaderCtrl::setSortColumn(int index, bool ascending)
{
    sortColumn_ = index;
    sortAscending_ = ascending;
    update();
}

int CFlatHeaderCtrl::getSortColumn(bool* ascending) const
{
    if (ascending)
        *ascending = sortAscending_;
    return sortColumn_;
}

bool CFlatHeaderCtrl::setOption(int option, const QVariant& value)
{
    switch (option) {
    case 1:
        margin_ = value.toInt();
        break;
    case 2:
        sortMarkWidth_ = static_cast<int>(value.toUInt() & 0xFFFF);
        sortMarkHeight_ = static_cast<int>((value.toUInt() >> 16) & 0xFFFF);
        break;
    case 3:
        highlight_ = colorFromRef(value.toUInt());
        break;
    case 4:
        shadow_ = colorFromRef(value.toUInt());
        break;
    case 5:
        text_ = colorFromRef(value.toUInt());
        break;
    case 6:
        if (!value.canConvert<QFont>())
            return false;
        setFont(value.value<QFont>());
        break;
    default:
        return false;
    }
    update();
    return true;
}

void CFlatHeaderCtrl::setHeight(int pixels) { fixedHeight_ = std::max(0, pixels); }

int CFlatHeaderCtrl::getHeight() const { return fixedHeight_ > 0 ? fixedHeight_ : height(); }

int CFlatHeaderCtrl::layoutHeight() const
{
    if (fixedHeight_ > 0)
        return fixedHeight_;
    return std::max(fontMetrics().height(), imageHeight_) + 8;
}

void CFlatHeaderCtrl::setImageSize(int width, int height)
{
    imageWidth_ = width;
    imageHeight_ = height;
}

void CFlatHeaderCtrl::setOffset(int offset)
{
    if (offset_ == offset)
        return;
    offset_ = offset;
    update();
}

int CFlatHeaderCtrl::contentWidth(int index) const
{
    if (index < 0 || index >= getItemCount())
        return 0;
    const Entry& entry = items_[static_cast<std::size_t>(index)];
    int width = margin_;
    if (entry.item.image >= 0 && imageWidth_ > 0)
        width += imageWidth_ + margin_;
    if (!entry.item.caption.isEmpty())
        width += fontMetrics().horizontalAdvance(entry.item.caption.left(CAPTION_LIMIT)) + margin_;
    if (index == sortColumn_)
        width += sortMarkWidth_ + margin_;
    return width;
}

int CFlatHeaderCtrl::setHotDivider(const QPoint& point)
{
    const int index = hitTest(point);
    if (index < 0)
        return setHotDivider(-1);
    const QRect rect = getItemRect(index);
    int order = indexToOrder(index);
    if (point.x() > rect.center().x())
        ++order;
    return setHotDivider(order);
}

int CFlatHeaderCtrl::setHotDivider(int order)
{
    dropPosition_ = order;
    const int count = getItemCount();
    if (order < 0 || order > count + 1 || count == 0) {
        dropWnd_.reset();
        return dropPosition_;
    }
    int x = 0;
    if (order < count)
        x = getItemRect(orderToIndex(order)).left();
    else
        x = getItemRect(orderToIndex(count - 1)).right() + 1;
    if (!dropWnd_)
        dropWnd_ = std::make_unique<FlatHeaderDropWnd>(getHeight(), dropColour_);
    dropWnd_->moveTo(mapToGlobal(QPoint(x, 0)).x(), mapToGlobal(QPoint(0, 0)).y());
    dropWnd_->show();
    return dropPosition_;
}

bool CFlatHeaderCtrl::mayResize(int index) const
{
    return index >= 0 && index < getItemCount() &&
           !(items_[static_cast<std::size_t>(index)].info.flags & FH_FIXEDWIDTH);
}

int CFlatHeaderCtrl::clampedDragWidth(int index, int width) const
{
    const FlatHeaderItemInfo& info = items_[static_cast<std::size_t>(index)].info;
    width = std::max(0, width);
    if (!confined_)
        return width;
    const int maximum = info.maxWidth < 0 ? std::numeric_limits<int>::max() : info.maxWidth;
    return std::clamp(width, info.minWidth, maximum);
}

void CFlatHeaderCtrl::applyWidth(int index, int width)
{
    FlatHeaderItem item = items_[static_cast<std::size_t>(index)].item;
    item.width = width;
    setItem(index, item);
}

void CFlatHeaderCtrl::updateCursor(const QPoint& point)
{
    unsigned flags = 0;
    const int index = hitTest(point, &flags);
    if ((flags & HHT_ONDIVIDER) && mayResize(index))
        setCursor(Qt::SplitHCursor);
    else
        setCursor(Qt::ArrowCursor);
}

void CFlatHeaderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    unsigned flags = 0;
    const QPoint point = event->position().toPoint();
    const int index = hitTest(point, &flags);
    if (index < 0)
        return;
    if (flags & HHT_ONDIVIDER) {
        // A fixed-width item swallows the press on its divider.
        if (!mayResize(index))
            return;
        const FlatHeaderItemInfo& info = items_[static_cast<std::size_t>(index)].info;
        const int maximum = info.maxWidth < 0 ? std::numeric_limits<int>::max() : info.maxWidth;
        confined_ = info.minWidth <= maximum;
        dragItem_ = index;
        dragStartX_ = point.x();
        dragStartWidth_ = items_[static_cast<std::size_t>(index)].item.width;
        return;
    }
    pressedItem_ = index;
    pressPoint_ = point;
    movingItem_ = false;
    update();
}

void CFlatHeaderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (dragItem_ >= 0 && (event->buttons() & Qt::LeftButton)) {
        const int width = clampedDragWidth(dragItem_, dragStartWidth_ + point.x() - dragStartX_);
        if (width != items_[static_cast<std::size_t>(dragItem_)].item.width)
            applyWidth(dragItem_, width);
        return;
    }
    if (pressedItem_ >= 0 && (event->buttons() & Qt::LeftButton)) {
        // Dragging an item shows where it would land between the others.
        if (!movingItem_ && (point - pressPoint_).manhattanLength() >= QApplication::startDragDistance())
            movingItem_ = true;
        if (movingItem_)
            setHotDivider(point);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton))
        updateCursor(point);
}

bool CFlatHeaderCtrl::moveItem(int index, int dropOrder)
{
    const int from = indexToOrder(index);
    if (from < 0 || dropOrder < 0 || dropOrder > getItemCount())
        return false;
    const int to = dropOrder > from ? dropOrder - 1 : dropOrder;
    if (to == from)
        return false;
    order_.erase(order_.begin() + from);
    order_.insert(order_.begin() + to, index);
    update();
    emit orderChanged();
    return true;
}

void CFlatHeaderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int pressed = pressedItem_;
    const bool moved = movingItem_;
    const int drop = dropPosition_;
    dragItem_ = -1;
    confined_ = false;
    pressedItem_ = -1;
    movingItem_ = false;
    if (moved) {
        setHotDivider(-1);
        moveItem(pressed, drop);
        return;
    }
    if (pressed >= 0) {
        update();
        if (hitTest(event->position().toPoint()) == pressed)
            emit itemClicked(pressed);
    }
}

void CFlatHeaderCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    unsigned flags = 0;
    const int index = hitTest(event->position().toPoint(), &flags);
    if (!(flags & HHT_ONDIVIDER) || index < 0) {
        mousePressEvent(event);
        return;
    }
    if (mayResize(index))
        emit dividerDoubleClicked(index);
}

bool CFlatHeaderCtrl::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = hitTest(help->pos());
        const QString tip = index >= 0 ? items_[static_cast<std::size_t>(index)].info.tooltip : QString();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this, getItemRect(index));
        return true;
    }
    return QWidget::event(event);
}

void CFlatHeaderCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), face_);
    int x = -offset_;
    for (int index : order_) {
        const int w = items_[static_cast<std::size_t>(index)].item.width;
        paintItem(painter, index, QRect(x, 0, w, height()));
        x += w;
    }
    painter.setPen(shadow_);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
}

void CFlatHeaderCtrl::paintItem(QPainter& painter, int index, const QRect& rect) const
{
    const FlatHeaderItem& item = items_[static_cast<std::size_t>(index)].item;
    const bool pressed = index == pressedItem_;
    // The held item is drawn inverted: shadow at the top left.
    painter.setPen(pressed ? shadow_ : highlight_);
    painter.drawLine(rect.left(), rect.top(), rect.right() - 1, rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.left(), rect.bottom() - 1);
    painter.setPen(pressed ? highlight_ : shadow_);
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());

    QRect content = rect.adjusted(margin_, 0, -margin_, 0);
    if (pressed)
        content.translate(1, 1);
    if (content.width() <= 0)
        return;
    painter.save();
    painter.setClipRect(rect.adjusted(1, 1, -1, -1));
    const bool sorted = index == sortColumn_;
    const int markRoom = sorted ? sortMarkWidth_ + margin_ : 0;
    const QString caption = item.caption.left(CAPTION_LIMIT);
    const QFontMetrics metrics = fontMetrics();
    const QString shown = metrics.elidedText(caption, Qt::ElideRight, std::max(0, content.width() - markRoom));
    const int textWidth = std::min(metrics.horizontalAdvance(shown) + 1, std::max(0, content.width() - markRoom));
    int textLeft = content.left();
    switch (alignmentOf(item.format)) {
    case 1:
        textLeft = content.right() + 1 - textWidth;
        break;
    case 2:
        textLeft = content.left() + (content.width() - textWidth - markRoom) / 2 + markRoom;
        break;
    default:
        break;
    }
    int markLeft = alignmentOf(item.format) == 0 ? textLeft + textWidth + margin_ : textLeft - markRoom;
    painter.setPen(text_);
    painter.drawText(QRect(textLeft, content.top(), textWidth, content.height()), Qt::AlignVCenter | Qt::AlignLeft,
                     shown);
    if (sorted && markLeft + sortMarkWidth_ <= content.right() + 1)
        paintSortMark(painter, QRect(markLeft, content.top(), sortMarkWidth_, content.height()));
    painter.restore();
}

void CFlatHeaderCtrl::paintSortMark(QPainter& painter, const QRect& rect) const
{
    const int top = rect.top() + (rect.height() - sortMarkHeight_) / 2;
    const int bottom = top + sortMarkHeight_ - 1;
    const int left = rect.left();
    const int right = left + sortMarkWidth_ - 1;
    const int middle = left + sortMarkWidth_ / 2;
    if (sortAscending_) {
        painter.setPen(shadow_);
        painter.drawLine(middle, top, left, bottom);
        painter.setPen(highlight_);
        painter.drawLine(left, bottom, right, bottom);
        painter.drawLine(right, bottom, middle, top);
    } else {
        painter.setPen(shadow_);
        painter.drawLine(left, top, right, top);
        painter.drawLine(left, top, middle, bottom);
        painter.setPen(highlight_);
        painter.drawLine(middle, bottom, right, top);
    }
}

} // namespace kova
