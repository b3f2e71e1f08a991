#pragma once
// A dialog built from its template: the base every dialog of the station
// derives from. create() builds the controls from the template (see
// DialogBuilder.h), then calls onInitDialog once, the place where a dialog
// fills its controls, connects its notifications and builds its layout.
// The OK and Cancel buttons (ids IDOK and IDCANCEL) call onOK and onCancel.
// A template without WS_THICKFRAME gives a dialog of fixed size; one with
// WS_CHILD gives a dialog that sits inside its parent (a page).

#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogTemplate.h"

#include <QDialog>

namespace kova {

class TemplateDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog of that id in the dialog registry.
    explicit TemplateDialog(int templateId, QWidget* parent = nullptr);
    // A dialog from a template in memory.
    explicit TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);
    ~TemplateDialog() override;

    // Builds the controls and runs onInitDialog; false when the template is
    // empty or malformed. Calling it again does nothing and answers the first result.
    bool create();
    // Creates the dialog when needed and shows it modally; the result of
    // exec() (QDialog::Accepted when closed with OK), or -1 when it could not be created.
    int doModal();

    QWidget* getDlgItem(int id) const;
    // The window text of a control; empty when the dialog has no such control.
    QString getDlgItemText(int id) const;
    void setDlgItemText(int id, const QString& text);
    // The check state of a check box or radio button.
    bool isDlgButtonChecked(int id) const;
    void checkDlgButton(int id, bool checked);
    // The notification adapter of the dialog's controls.
    ControlNotifier& notifier();
    const DialogTemplate& dialogTemplate() const { return template_; }
    bool isCreated() const { return created_; }

protected:
    virtual bool onInitDialog() { return true; }
    virtual void onOK() { accept(); }
    virtual void onCancel() { reject(); }
    // The Escape key and the window's close box cancel through onCancel.
    void reject() override;

private:
    DialogTemplate template_;
    ControlNotifier* notifier_ = nullptr;
    bool created_ = false;
    bool createResult_ = false;
    bool cancelling_ = false;
};

} // namespace kova
