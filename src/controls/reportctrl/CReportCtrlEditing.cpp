// The report list's in-place editing: the editor over a cell, its keys, and the
// text it hands back.

#include "controls/reportctrl/CReportCtrl.h"

#include "controls/reportctrl/ReportCtrlShared.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace kova {

using namespace reportctrl;

namespace {

constexpr int EDIT_TEXT_LIMIT = 255;

} // namespace

bool CReportCtrl::beginEdit(int position, int column, int character)
{
    if (!(style_ & RVS_ALLOWEDIT) || editor_)
        return false;
    if (column < 0 || column >= getActiveSubItemCount() || position < -1 || position >= getItemCount())
        return false;
    const int handle = getItemAtPosition(position);
    const int subItem = getSubItemFromColumn(column);
    ItemRecord* record = getItemRecord(handle, subItem, RVIM_TEXT | RVIM_STATE | RVIM_LPARAM);
    if (!record || (record->state & RVIS_READONLY))
        return false;
    ReportCell cell;
    if (!ReportCellCodec::readCell(record->rowText, subItem, cell, REPORT_TEXT_LIMIT))
        return false;
    const unsigned state = record->state;
    ensureVisible(position);
    const QRect rect = getCellRect(position, column, true);

    ReportNotify request;
    request.code = RVN_BEGINITEMEDIT;
    request.item = handle;
    request.subItem = subItem;
    request.rect = rect;
    request.character = character;
    request.text = cell.text;
    request.data = record->data;
    editItem_ = handle;
    editSubItem_ = subItem;
    editKey_ = 0;
    editEnding_ = false;
    if (notify(request) != 0) {
        if (!request.editor)
            return false;
        editor_ = request.editor;
        ownEditor_ = false;
        editor_->installEventFilter(this);
        editor_->setFocus();
        update();
        return true;
    }

    auto* edit = new QLineEdit(this);
    edit->setFrame(false);
    edit->setFont(rowFont(state));
    edit->setGeometry(rect);
    edit->setMaxLength(EDIT_TEXT_LIMIT);
    edit->setText(qtext(cell.text));
    switch (character) {
    case VK_RETURN:
    case 1:
        edit->end(false);
        break;
    case VK_BACK:
        edit->end(false);
        edit->backspace();
        break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        edit->selectAll();
        break;
    default:
        edit->setText(QString(QChar(character)));
        edit->end(false);
        break;
    }
    editor_ = edit;
    ownEditor_ = true;
    edit->installEventFilter(this);
    edit->show();
    edit->setFocus();
    update();
    return true;
}

bool CReportCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (!editor_ || watched != editor_)
        return QFrame::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = virtualKey(static_cast<QKeyEvent*>(event)->key());
        if (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) {
            if (event->type() == QEvent::ShortcutOverride) {
                event->accept();
                return true;
            }
            editKey_ = key;
            setFocus(Qt::OtherFocusReason);
            if (editor_ && !editEnding_)
                editorFinished();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        if (!editEnding_)
            editorFinished();
    }
    return QFrame::eventFilter(watched, event);
}

void CReportCtrl::editorFinished()
{
    if (!editor_ || editEnding_)
        return;
    editEnding_ = true;
    ReportNotify record;
    record.code = RVN_ENDITEMEDIT;
    record.item = editItem_;
    record.subItem = editSubItem_;
    record.editor = editor_;
    record.character = editKey_;
    record.text = narrow(windowText(editor_));
    if (const ItemRecord* item = getItemRecord(editItem_))
        record.data = item->data;
    if (notify(record) != 0)
        endEdit(false, &record);
    else
        endEdit(editKey_ != VK_ESCAPE, &record);
}

void CReportCtrl::endEdit(bool apply, const ReportNotify* record)
{
    if (!editor_)
        return;
    editEnding_ = true;
    QWidget* editor = editor_;
    if (apply) {
        const std::string text = cutUtf8(record ? record->text : narrow(windowText(editor)), EDIT_TEXT_LIMIT);
        if (ItemRecord* item = getItemRecord(editItem_)) {
            ReportCell cell;
            if (ReportCellCodec::readCell(item->rowText, editSubItem_, cell)) {
                cell.text = text;
                ReportCellCodec::writeCell(item->rowText, editSubItem_, cell);
            }
        }
    }
    const bool editorHadFocus = editor->hasFocus();
    editor->removeEventFilter(this);
    editor_ = nullptr;
    if (editorHadFocus)
        setFocus(Qt::OtherFocusReason);
    if (ownEditor_) {
        editor->hide();
        editor->deleteLater();
    }
    ownEditor_ = false;
    hasFocus_ = hasFocus();
    editItem_ = -1;
    editSubItem_ = -1;
    update();
}

void CReportCtrl::closeEditorKeepingText()
{
    if (!editor_ || editEnding_)
        return;
    editKey_ = 0;
    editorFinished();
}

} // namespace kova
