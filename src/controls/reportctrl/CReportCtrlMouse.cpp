// The report list's mouse and focus: a click takes the focus, the cell tip
// follows the pointer, and the rows show whether the list has the focus.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/reportctrl/CReportTipCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <QApplication>
#include <QMouseEvent>

namespace kova {

using namespace reportctrl;

void CReportCtrl::mousePressEvent(QMouseEvent* event)
{
    // A click takes the focus but selects nothing.
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void CReportCtrl::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void CReportCtrl::mouseMoveEvent(QMouseEvent* event)
{
    if (!(style_ & RVS_SHOWTIPS) || event->buttons() != Qt::NoButton || editor_)
        return;
    int position = 0;
    int column = 0;
    if (!hitTestCell(event->position().toPoint(), position, column))
        return;
    const int handle = getItemAtPosition(position);
    const int subItem = getSubItemFromColumn(column);
    if (getItemBar(handle, subItem))
        return;
    const std::string text = getItemText(handle, subItem);
    if (text.empty())
        return;
    const ItemRecord* record = getItemRecord(handle);
    tip_->show(getCellRect(position, column, true), qtext(text), &rowFont(record ? record->state : 0));
}

void CReportCtrl::focusInEvent(QFocusEvent* event)
{
    hasFocus_ = true;
    update();
    QFrame::focusInEvent(event);
}

void CReportCtrl::focusOutEvent(QFocusEvent* event)
{
    // Handing the focus to our own editor keeps the row looking focused.
    if (!(editor_ && QApplication::focusWidget() == editor_))
        hasFocus_ = false;
    tip_->hide();
    update();
    QFrame::focusOutEvent(event);
}

} // namespace kova
