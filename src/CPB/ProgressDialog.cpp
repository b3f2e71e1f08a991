#include "CPB/ProgressDialog.h"

#include "CPB/CPBDialogTables.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "controls/RoundButton.h"

#include <QProgressBar>

#include <algorithm>

ProgressDialog::ProgressDialog(QWidget* owner)
    : TemplateDialog(CPBDialogTables::ensure(TEMPLATE_ID), owner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (owner)
        setWindowModality(Qt::WindowModal);
    create();
}

ProgressDialog::~ProgressDialog() = default;

bool ProgressDialog::onInitDialog()
{
    kova::RoundButton::attach(this, kova::IDCANCEL);
    kova::translateDialog(this);
    if (auto* bar = qobject_cast<QProgressBar*>(getDlgItem(IDC_PROGRESS))) {
        bar->setRange(0, RANGE);
        bar->setValue(0);
    }
    setDlgItemText(IDC_PERCENT, QStringLiteral("0%"));
    setDlgItemText(IDC_STEP, QString());
    return TemplateDialog::onInitDialog();
}

void ProgressDialog::setPos(int newPos)
{
    KOVA_ASSERT(newPos >= 0 && newPos <= RANGE);
    KOVA_ASSERT(newPos >= position_);
    position_ = std::clamp(newPos, 0, RANGE);
    if (auto* bar = qobject_cast<QProgressBar*>(getDlgItem(IDC_PROGRESS)))
        bar->setValue(position_);
    setDlgItemText(IDC_PERCENT, QStringLiteral("%1%").arg(position_ / 10));
}

void ProgressDialog::setText(const std::wstring& text) { setDlgItemText(IDC_STEP, QString::fromStdWString(text)); }

void ProgressDialog::setTitle(const std::wstring& title) { setWindowTitle(QString::fromStdWString(title)); }

void ProgressDialog::setButtonText(const std::wstring& text)
{
    setDlgItemText(kova::IDCANCEL, QString::fromStdWString(text));
}

void ProgressDialog::enableButton(bool enabled)
{
    QWidget* button = getDlgItem(kova::IDCANCEL);
    if (!button)
        return;
    button->setEnabled(enabled);
    if (enabled) {
        unsetCursor();
        button->setFocus();
    } else {
        setCursor(Qt::WaitCursor);
    }
}

bool ProgressDialog::isButtonEnabled() const
{
    const QWidget* button = getDlgItem(kova::IDCANCEL);
    return button && button->isEnabled();
}

void ProgressDialog::onCancel()
{
    // Escape and the close box end up here too: ignored until the transfer is over.
    if (!isButtonEnabled())
        return;
    closed.notify();
    destroyWindow();
}

void ProgressDialog::destroyWindow()
{
    hide();
    deleteLater();
}
