#include "controls/reportctrl/CReportView.h"

#include "controls/reportctrl/CReportCtrl.h"

#include <QResizeEvent>

namespace kova {

CReportView::CReportView(QWidget* parent, std::uint32_t controlStyle) : QWidget(parent), controlStyle_(controlStyle)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CReportView::onInitialUpdate()
{
    if (report_)
        return;
    report_ = new CReportCtrl(this, controlStyle_);
    report_->setGeometry(rect());
    report_->show();
    setFocusProxy(report_);
}

void CReportView::showEvent(QShowEvent* event)
{
    onInitialUpdate();
    QWidget::showEvent(event);
}

void CReportView::resizeEvent(QResizeEvent* event)
{
    if (report_)
        report_->setGeometry(QRect(QPoint(0, 0), event->size()));
    QWidget::resizeEvent(event);
}

void CReportView::focusInEvent(QFocusEvent* event)
{
    if (report_)
        report_->setFocus(event->reason());
    QWidget::focusInEvent(event);
}

} // namespace kova
