#pragma once
// The frame of one ChildDialog. It owns the dialog (Qt parentage), builds it
// when the frame is created, lets it answer whether the frame may close,
// tells it when the frame is shown or hidden, and hands it the focus.
//
//   auto* frame = new DialogFrame(mdiClient, std::make_unique<NewSessionDialog>());
//   frame->fitToDialog = true;
//   frame->resizable = false;
//   frame->hideOnClose = true;
//   frame->createFrame(QString::fromStdWString(Gettext::translate("New session")));

#include "app/shell/ChildDialog.h"
#include "app/shell/ChildFrame.h"

#include <memory>

class DialogFrame : public ChildFrame {
    Q_OBJECT
public:
    DialogFrame(kova::MdiClientWnd* client, std::unique_ptr<ChildDialog> dialog);

    ChildDialog* getHostedWindow() const override { return dialog_; }
    // The dialog's answer; true without a dialog.
    bool canClose() override;

protected:
    // Builds the dialog through its own create(parent).
    bool createClient() override;
    // Tells the dialog (onFrameClosed).
    void onClosed() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void tellDialog(bool shown);

    QPointer<ChildDialog> dialog_;
};
