// The report list's keyboard: key notifications, moving the focus between rows
// and cells, and typing that starts an edit.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/reportctrl/CFlatHeaderCtrl.h"
#include "controls/reportctrl/ReportCtrlShared.h"

#include <QKeyEvent>

#include <algorithm>

namespace kova {

using namespace reportctrl;

void CReportCtrl::keyPressEvent(QKeyEvent* event)
{
    const int key = virtualKey(event->key());
    onKeyDown(key, event->nativeScanCode(), event->modifiers());
    const QString text = event->text();
    if (!text.isEmpty()) {
        const int character = text.at(0).unicode();
        if (character >= 0x20 || character == VK_BACK || character == VK_RETURN)
            onChar(character);
    }
    // Enter and Escape that start no edit still reach the dialog's default and cancel buttons.
    if ((key == VK_RETURN || key == VK_ESCAPE) && !editor_)
        event->ignore();
    else
        event->accept();
}

void CReportCtrl::onKeyDown(int key, unsigned flags, Qt::KeyboardModifiers modifiers)
{
    ReportNotify record;
    record.code = RVN_KEYDOWN;
    record.value = key;
    record.flags = flags;
    record.item = getItemAtPosition(focusRow_);
    record.subItem = getSubItemFromColumn(focusColumn_);
    if (const ItemRecord* focused = focusRow_ >= -1 ? getItemRecord(record.item) : nullptr)
        record.data = focused->data;
    if (notify(record) != 0)
        return;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (key < VK_ESCAPE || key > VK_DOWN) {
        ctrlUp_ = !ctrl;
        return;
    }
    const int count = getItemCount();
    const int lowest = (style_ & RVS_ALLOWEDIT) ? -1 : 0;
    switch (key) {
    case VK_SPACE:
        if (focusRow_ >= lowest && focusRow_ < count)
            selectRange(focusRow_, focusRow_, true, true, ctrl);
        break;
    case VK_PRIOR:
        if (count == 0)
            break;
        if (focusRow_ == firstRow_)
            onVScroll(SB_PAGEUP);
        navigateRows(firstRow_, modifiers);
        break;
    case VK_NEXT: {
        if (count == 0)
            break;
        auto lastVisible = [&] { return std::min(count - 1, firstRow_ + std::max(1, rowsFitting(firstRow_)) - 1); };
        if (focusRow_ == lastVisible())
            onVScroll(SB_PAGEDOWN);
        navigateRows(lastVisible(), modifiers);
        break;
    }
    case VK_HOME:
    case VK_END: {
        const int target = key == VK_HOME ? 0 : count - 1;
        if (count == 0 || focusRow_ == target)
            break;
        onVScroll(key == VK_HOME ? SB_TOP : SB_BOTTOM);
        if (!shift)
            anchorRow_ = target;
        if (ctrl)
            selectRange(target, target, false, true, false);
        else
            selectRange(target, anchorRow_, true, false, false);
        break;
    }
    case VK_UP:
        if (focusRow_ < 0 && lowest == 0 && count > 0)
            navigateRows(0, modifiers);
        else if (focusRow_ > lowest)
            navigateRows(focusRow_ - 1, modifiers);
        break;
    case VK_DOWN:
        if (count > 0 && focusRow_ < count - 1)
            navigateRows(std::max(focusRow_ + 1, 0), modifiers);
        break;
    case VK_LEFT:
    case VK_RIGHT: {
        const int column = nextColumn(focusColumn_, key == VK_LEFT ? -1 : 1);
        if (column == focusColumn_)
            break;
        focusColumn_ = column;
        if (column >= 0) {
            const int left = columnLeft(column) - itemArea_.left() + hScroll_;
            const int width = header_->getItemRect(column).width();
            if (left < hScroll_)
                onHScroll(SB_THUMBPOSITION, left);
            else if (left + width > hScroll_ + itemArea_.width())
                onHScroll(SB_THUMBPOSITION, left + width - itemArea_.width());
        }
        redrawRow(focusRow_);
        update();
        break;
    }
    default:
        break;
    }
}

void CReportCtrl::navigateRows(int target, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ControlModifier) {
        selectRange(target, target, false, true, false);
    } else if (modifiers & Qt::ShiftModifier) {
        selectRange(target, anchorRow_, true, false, false);
    } else {
        selectRange(target, target, true, false, false);
        anchorRow_ = target;
    }
    ensureVisible(target);
}

void CReportCtrl::onChar(int character)
{
    if (!ctrlUp_ || focusColumn_ < 0)
        return;
    if (focusRow_ >= 0 && !(style_ & RVS_FOCUSSUBITEMS))
        return;
    beginEdit(focusRow_, focusColumn_, character);
}

} // namespace kova
