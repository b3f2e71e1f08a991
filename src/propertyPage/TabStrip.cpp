#include "propertyPage/TabStrip.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

// The pens are taken from the palette once per paint; the strip follows the
// palette of its dialog.
struct Pens {
    QColor highlight, light, face, darkShadow, shadow;
    explicit Pens(const QPalette& p)
        : highlight(p.color(QPalette::Light)), light(p.color(QPalette::Midlight)),
          face(p.color(QPalette::Button)), darkShadow(p.color(QPalette::Shadow)), shadow(p.color(QPalette::Dark))
    {
    }
};

} // namespace

TabStrip::TabStrip(QWidget* parent, int style)
    : QWidget(parent), style_((style & 3) ? (style & 3) : STYLE_TOP)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const TabStrip::TabItem* TabStrip::getItem(int index) const
{
    return index >= 0 && index < getItemCount() ? &items_[static_cast<std::size_t>(index)] : nullptr;
}

int TabStrip::getItemData(int index) const
{
    const TabItem* item = getItem(index);
    return item ? item->data : 0;
}

QSize TabStrip::getItemSize(int index) const
{
    if (const TabItem* item = getItem(index))
        return {item->width, getTabHeight()};
    int sum = 0;
    for (const TabItem& item : items_)
        sum += item.width;
    return {sum, getTabHeight()};
}

bool TabStrip::removeItem(int index)
{
    if (!getItem(index))
        return false;
    items_.erase(items_.begin() + index);
    layoutItems();
    update();
    return true;
}

const TabStrip::TabItem& TabStrip::addItem(const std::string& text, int data)
{
    items_.push_back({text, data, 0, 0});
    layoutItems();
    update();
    return items_.back();
}

QRect TabStrip::getContentRect() const
{
    QRect r = rect().adjusted(2, 2, -2, -2);
    if (style_ & STYLE_TOP)
        r.setTop(r.top() + getTabHeight());
    else
        r.setBottom(r.bottom() - getTabHeight());
    return r;
}

QRect TabStrip::getItemRect(int index) const
{
    const TabItem* item = getItem(index);
    if (!item)
        return {};
    const int top = (style_ & STYLE_TOP) ? 0 : height() - getTabHeight() - 1;
    return {item->x, top, item->width, getTabHeight()};
}

int TabStrip::hitTest(int x, int y) const
{
    for (int i = 0; i < getItemCount(); ++i)
        if (getItemRect(i).contains(x, y))
            return i;
    return -1;
}

int TabStrip::measure(const TabItem& item) const
{
    const int textWidth = fontMetrics().horizontalAdvance(QString::fromStdString(item.text));
    return std::max(INNER_MARGIN + 8, textWidth + 2 * INNER_MARGIN + 4);
}

void TabStrip::placeFrom(int x)
{
    for (TabItem& item : items_) {
        item.x = x;
        x += item.width;
    }
}

void TabStrip::layoutItems()
{
    if (items_.empty())
        return;
    int needed = 1;
    for (TabItem& item : items_) {
        item.width = measure(item);
        needed += item.width;
    }
    placeFrom(1);
    fitItems(needed, width());
}

void TabStrip::fitItems(int needed, int available)
{
    const int n = getItemCount();
    if (n == 0)
        return;
    auto widest = [this] {
        return std::max_element(items_.begin(), items_.end(),
                                [](const TabItem& a, const TabItem& b) { return a.width < b.width; });
    };
    if (needed > available) {
        int excess = needed - available;
        if (available / n <= 32) {
            const int each = available / n;
            for (int i = 0; i < n - 1; ++i)
                items_[static_cast<std::size_t>(i)].width = each;
            items_.back().width = std::max(0, available - 1 - each * (n - 1));
            placeFrom(1);
            return;
        }
        while (excess > 0) {
            auto it = widest();
            const int step = std::min(8, it->width);
            if (step == 0)
                break;
            it->width -= step;
            excess -= step;
        }
    } else {
        int spare = available - needed - 10;
        while (spare > 0) {
            auto wide = widest();
            auto narrow = std::min_element(items_.begin(), items_.end(),
                                           [](const TabItem& a, const TabItem& b) { return a.width < b.width; });
            if (wide->width == narrow->width)
                break;
            const int step = std::min(8, wide->width - narrow->width);
            narrow->width += step;
            spare -= step;
        }
    }
    placeFrom(1);
}

int TabStrip::notify(TabNotification code, int key)
{
    return listener_ ? listener_->tabNotify(*this, code, key) : 0;
}

bool TabStrip::select(int index)
{
    if (index < 0 || index >= getItemCount())
        return false;
    if (index == curSel_)
        return true;
    const int previous = curSel_;
    // Recorded first, so the listener reads the prospective selection.
    curSel_ = index;
    if (notify(TabNotification::SelChanging) != 0) {
        curSel_ = previous;
        return false;
    }
    onSelChanged(previous, index);
    update();
    notify(TabNotification::SelChange);
    return true;
}

void TabStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutItems();
}

void TabStrip::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        const int hit = hitTest(p.x(), p.y());
        if (hit >= 0 && select(hit)) {
            setFocus(Qt::MouseFocusReason);
            notify(TabNotification::Click);
        }
    }
    QWidget::mousePressEvent(event);
}

bool TabStrip::runKeyCommand(QKeyEvent* event)
{
    const int count = getItemCount();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    auto previous = [&] { select(curSel_ <= 0 && curSel_ != -1 ? count - 1 : curSel_ - 1); };
    auto next = [&] { select((curSel_ + 1) % count); };
    switch (event->key()) {
    case Qt::Key_Left: previous(); return true;
    case Qt::Key_Right: next(); return true;
    case Qt::Key_End: select(count - 1); return true;
    case Qt::Key_Home: select(0); return true;
    case Qt::Key_Backtab:
        if (ctrl) previous();
        else parentWidget() ? (void)QWidget::focusNextPrevChild(false) : void();
        return true;
    case Qt::Key_Tab:
        if (ctrl) (shift ? previous() : next());
        else (void)QWidget::focusNextPrevChild(!shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const auto children = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        if (!children.isEmpty())
            children.first()->setFocus();
        return true;
    }
    default: return false;
    }
}

void TabStrip::keyPressEvent(QKeyEvent* event)
{
    if (!items_.empty() && runKeyCommand(event)) {
        notify(TabNotification::KeyDown, event->key());
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Tab and Shift+Tab reach keyPressEvent, where they run as the strip's own commands.
bool TabStrip::focusNextPrevChild(bool) { return false; }

void TabStrip::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TabStrip::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TabStrip::paintEvent(QPaintEvent*)
{
    QPixmap buffer(size());
    const Pens pens(palette());
    buffer.fill(pens.face);
    QPainter painter(&buffer);
    painter.setFont(font());
    QRect body = rect();
    if (style_ & STYLE_TOP)
        body.setTop(body.top() + getTabHeight() - 1);
    else
        body.setBottom(body.bottom() - getTabHeight() + 1);
    painter.setPen(pens.highlight);
    painter.drawLine(body.topLeft(), body.topRight());
    painter.drawLine(body.topLeft(), body.bottomLeft());
    painter.setPen(pens.darkShadow);
    painter.drawLine(body.bottomLeft(), body.bottomRight());
    painter.drawLine(body.topRight(), body.bottomRight());
    painter.setPen(pens.shadow);
    painter.drawLine(body.bottomLeft() + QPoint(1, -1), body.bottomRight() + QPoint(-1, -1));
    painter.drawLine(body.topRight() + QPoint(-1, 1), body.bottomRight() + QPoint(-1, -1));
    for (int i = 0; i < getItemCount(); ++i)
        drawTab(painter, i);
    painter.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void TabStrip::drawTab(QPainter& painter, int index) const
{
    const Pens pens(palette());
    const QRect r = getItemRect(index);
    const bool selected = index == curSel_;
    const bool top = style_ & STYLE_TOP;
    const int L = r.left(), R = r.left() + r.width();
    // Bottom tabs are the mirror image of top tabs.
    const int edge = top ? r.top() : r.top() + r.height();
    const int base = top ? r.top() + r.height() : r.top();
    const int dir = top ? 1 : -1;
    const int tipY = selected ? edge : edge + 2 * dir;
    const int baseY = selected ? base : base - dir;
    if (selected) {
        painter.setPen(pens.face);
        painter.drawLine(L, base - dir, R - 1, base - dir);
        painter.drawLine(L, base, R - 1, base);
    }
    painter.setPen(pens.highlight);
    painter.drawLine(L, baseY, L, tipY + 2 * dir);
    painter.drawLine(L, tipY + 2 * dir, L + 2, tipY);
    painter.drawLine(L + 2, tipY, R - 2, tipY);
    painter.setPen(pens.darkShadow);
    painter.drawLine(R - 1, baseY, R - 1, tipY + 2 * dir);
    painter.drawLine(R - 1, tipY + 2 * dir, R - 3, tipY);
    painter.setPen(pens.light);
    painter.drawLine(L + 1, baseY, L + 1, tipY + dir);
    painter.drawLine(L + 2, tipY + dir, R - 2, tipY + dir);
    painter.setPen(pens.shadow);
    painter.drawLine(R - 2, baseY, R - 2, tipY + dir);

    QRect inner = r;
    if (!selected)
        inner.setTop(inner.top() + 2);
    inner.adjust(INNER_MARGIN + 2, 0, -INNER_MARGIN, 0);
    const TabItem& item = items_[static_cast<std::size_t>(index)];
    QString text = QString::fromStdString(item.text);
    const QFontMetrics metrics = painter.fontMetrics();
    // Shorten with "..." one character at a time; a single character left
    // then loses characters from the end until it fits.
    QString shown = text;
    int keep = static_cast<int>(text.size());
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown) > inner.width()) {
        if (keep > 1) {
            --keep;
            shown = text.left(keep) + "...";
        } else {
            shown.chop(1);
        }
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    if (!shown.isEmpty())
        painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    if (selected && hasFocus()) {
        QPen focusPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine);
        painter.setPen(focusPen);
        painter.drawRect(inner.adjusted(0, 2, -1, -3));
    }
}
