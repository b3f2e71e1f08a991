#include "app/shell/DialogFrame.h"

#include <QFocusEvent>

DialogFrame::DialogFrame(kova::MdiClientWnd* client, std::unique_ptr<ChildDialog> dialog)
    : ChildFrame(client), dialog_(dialog.get())
{
    if (dialog) {
        dialog->setParent(this, Qt::Widget);
        dialog->hide();
        dialog.release();
    }
    setHostedWindow(dialog_);
}

bool DialogFrame::canClose() { return !dialog_ || dialog_->canClose(); }

bool DialogFrame::createClient()
{
    if (!dialog_ || !dialog_->create(this))
        return false;
    dialog_->show();
    return ChildFrame::createClient();
}

void DialogFrame::onClosed()
{
    if (dialog_ && dialog_->isCreated())
        dialog_->onFrameClosed();
}

void DialogFrame::showEvent(QShowEvent* event)
{
    ChildFrame::showEvent(event);
    tellDialog(true);
}

void DialogFrame::hideEvent(QHideEvent* event)
{
    ChildFrame::hideEvent(event);
    tellDialog(false);
}

void DialogFrame::tellDialog(bool shown)
{
    if (dialog_ && dialog_->isCreated())
        dialog_->onFrameShow(shown, 0);
}

void DialogFrame::focusInEvent(QFocusEvent* event)
{
    ChildFrame::focusInEvent(event);
    // The dialog's last focused control, else the dialog.
    if (!dialog_)
        return;
    QWidget* target = dialog_->focusWidget();
    (target ? target : static_cast<QWidget*>(dialog_))->setFocus(event->reason());
}
