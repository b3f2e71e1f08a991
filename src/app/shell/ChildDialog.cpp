#include "app/shell/ChildDialog.h"

#include "app/shell/ChildFrame.h"

ChildDialog::ChildDialog(int templateId) : LayoutDialog(templateId) {}

ChildDialog::ChildDialog(const kova::DialogTemplate& dialogTemplate) : LayoutDialog(dialogTemplate) {}

bool ChildDialog::create(QWidget* parent)
{
    if (!isCreated()) {
        // A child window whatever the template says: the frame is its window.
        setParent(parent, Qt::Widget);
    }
    return TemplateDialog::create();
}

bool ChildDialog::onInitDialog()
{
    // The layout dialog's initialisation translates every marked text.
    const bool result = LayoutDialog::onInitDialog();
    notifier().on(ID_HELP, kova::Notification::Clicked, [this] { help(); });
    return result;
}

ChildFrame* ChildDialog::parentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* frame = qobject_cast<ChildFrame*>(w))
            return frame;
    return nullptr;
}

void ChildDialog::showFrame()
{
    if (ChildFrame* frame = parentFrame())
        frame->showFrame();
}

void ChildDialog::hideFrame()
{
    if (ChildFrame* frame = parentFrame())
        frame->hideFrame();
}

void ChildDialog::onOK()
{
    LayoutDialog::onOK();
    if (ChildFrame* frame = parentFrame())
        frame->destroyFrame();
}

void ChildDialog::onCancel()
{
    LayoutDialog::onCancel();
    if (ChildFrame* frame = parentFrame())
        frame->destroyFrame();
}
