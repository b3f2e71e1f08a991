#include "controls/reportctrl/FlatHeaderDropWnd.h"

#include <QPainter>
#include <QPolygon>

namespace kova {

FlatHeaderDropWnd::FlatHeaderDropWnd(int headerHeight, const QColor& colour)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      colour_(colour)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    // The body spans the header, with an arrow head above and below it.
    resize(BODY_WIDTH, headerHeight + BODY_WIDTH);
}

void FlatHeaderDropWnd::moveTo(int x, int top)
{
    move(x - BODY_WIDTH / 2, top - BODY_WIDTH / 2);
}

void FlatHeaderDropWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour_);
    const int w = width();
    const int h = height();
    const int half = BODY_WIDTH / 2;
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(w, 0), QPoint(half, half)}));
    painter.drawPolygon(QPolygon({QPoint(0, h), QPoint(w, h), QPoint(half, h - half)}));
    painter.drawRect(half - 1, half, 2, h - 2 * half);
}

} // namespace kova
