#include "controls/reportctrl/CReportTipCtrl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace kova {

CReportTipCtrl::CReportTipCtrl(QWidget* owner, int cellMargin)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      owner_(owner), margin_(cellMargin)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::ToolTipText));
    setPalette(pal);
}

CReportTipCtrl::~CReportTipCtrl()
{
    if (grabbed_)
        releaseMouse();
}

bool CReportTipCtrl::show(const QRect& cellRect, const QString& text, const QFont* font)
{
    if (cellRect.isEmpty() || isVisible() || !QApplication::focusWidget())
        return false;
    const QFont& used = font ? *font : owner_->font();
    const int textWidth = QFontMetrics(used).horizontalAdvance(text) + 2 * margin_;
    if (textWidth <= cellRect.width())
        return false;
    setFont(used);
    text_ = text;
    cellRect_ = cellRect;
    const QPoint topLeft = owner_->mapToGlobal(cellRect.topLeft());
    setGeometry(topLeft.x(), topLeft.y(), textWidth, cellRect.height());
    QWidget::show();
    raise();
    grabMouse();
    grabbed_ = true;
    return true;
}

void CReportTipCtrl::hide()
{
    if (grabbed_) {
        releaseMouse();
        grabbed_ = false;
    }
    QWidget::hide();
}

void CReportTipCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect().adjusted(margin_ - 1, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     text_);
}

void CReportTipCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        return;
    const QPointF global = event->globalPosition();
    hide();
    // Hand the move on to the window under the pointer, so the next cell can show its tip.
    QWidget* target = QApplication::widgetAt(global.toPoint());
    if (!target || target == this)
        target = owner_;
    const QPointF local = target->mapFromGlobal(global);
    QApplication::postEvent(target, new QMouseEvent(QEvent::MouseMove, local, global, Qt::NoButton,
                                                    event->buttons(), event->modifiers()));
}

} // namespace kova
