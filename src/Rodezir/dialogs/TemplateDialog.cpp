#include "Rodezir/dialogs/TemplateDialog.h"

#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogBuilder.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <QAbstractButton>

namespace kova {

TemplateDialog::TemplateDialog(int templateId, QWidget* parent) : QDialog(parent), template_(templateId)
{
    if (template_.isEmpty())
        LogStream::instance() << "TemplateDialog : no dialog template " << templateId << "." << LogStream::endl;
}

TemplateDialog::TemplateDialog(const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent), template_(dialogTemplate)
{
}

// A dialog destroyed while it shows loses its focus when QDialog hides it,
// after the derived dialog's parts are gone: no notification may reach the
// derived dialog's handlers by then.
TemplateDialog::~TemplateDialog() { delete notifier_; }

bool TemplateDialog::create()
{
    if (created_)
        return createResult_;
    created_ = true;
    const std::uint32_t style = template_.getStyle();
    if ((style & WS_CHILD) && parentWidget())
        setWindowFlags(Qt::Widget);
    if (!DialogBuilder::build(this, template_))
        return createResult_ = false;
    if (isWindow() && !(style & WS_THICKFRAME))
        setFixedSize(size());
    notifier_ = new ControlNotifier(this);
    notifier_->on(IDOK, Notification::Clicked, [this] { onOK(); });
    notifier_->on(IDCANCEL, Notification::Clicked, [this] { reject(); });
    createResult_ = true;
    onInitDialog();
    return createResult_;
}

int TemplateDialog::doModal()
{
    if (!create())
        return -1;
    return exec();
}

ControlNotifier& TemplateDialog::notifier()
{
    if (!notifier_)
        notifier_ = new ControlNotifier(this);
    return *notifier_;
}

QWidget* TemplateDialog::getDlgItem(int id) const
{
    return kova::getDlgItem(this, id);
}

QString TemplateDialog::getDlgItemText(int id) const
{
    return windowText(getDlgItem(id));
}

void TemplateDialog::setDlgItemText(int id, const QString& text)
{
    setWindowText(getDlgItem(id), text);
}

bool TemplateDialog::isDlgButtonChecked(int id) const
{
    const auto* button = qobject_cast<const QAbstractButton*>(getDlgItem(id));
    return button && button->isChecked();
}

void TemplateDialog::checkDlgButton(int id, bool checked)
{
    if (auto* button = qobject_cast<QAbstractButton*>(getDlgItem(id)))
        button->setChecked(checked);
}

void TemplateDialog::reject()
{
    // onCancel normally ends in QDialog::reject, which must not come back here.
    if (cancelling_) {
        QDialog::reject();
        return;
    }
    cancelling_ = true;
    onCancel();
    cancelling_ = false;
}

} // namespace kova
