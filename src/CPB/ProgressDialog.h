#pragma once
// The window a controller transfer shows while it runs: the step text, a bar
// from 0 to 1000 with its percentage, and a button that closes the window
// once the transfer has enabled it. It opens over its owner and keeps the
// owner from input while it exists (window-modal: a disabled owner would
// disable this child window too), and deletes itself when it closes.

#include "CPB/CPBProgress.h"
#include "Rodezir/Signal.h"
#include "Rodezir/dialogs/TemplateDialog.h"

class ProgressDialog : public kova::TemplateDialog, public CPBProgress {
    Q_OBJECT
public:
    static constexpr int TEMPLATE_ID = 269;
    static constexpr int IDC_PROGRESS = 1393;
    static constexpr int IDC_PERCENT = 1394;
    static constexpr int IDC_STEP = 1395;

    // Builds the window; show() puts it centred over the owner.
    explicit ProgressDialog(QWidget* owner);
    ~ProgressDialog() override;

    void setPos(int newPos) override;
    int getPos() const override { return position_; }
    void setText(const std::wstring& text) override;
    void setTitle(const std::wstring& title);
    void setButtonText(const std::wstring& text);
    // While the button is disabled, the window cannot be closed and shows the wait cursor.
    void enableButton(bool enabled);
    bool isButtonEnabled() const;

    // Closes the window now, whatever the button (a transfer that needs no answer).
    void destroyWindow();

    // The user closed the window; it goes right after.
    Signal<> closed;

protected:
    bool onInitDialog() override;
    // Enter closes nothing: only the button does, once enabled.
    void onOK() override {}
    void onCancel() override;

private:
    int position_ = 0;
};
