#include "Database/editors/EventDialog.h"

#include "Rodezir/WindowTextUtil.h"
#include "Rodezir/dialogs/DialogTranslation.h"
#include "controls/IconImageList.h"
#include "controls/RoundButton.h"
#include "platform/Beep.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {
constexpr int NAME_LIMIT = 20;
constexpr int TOOLTIP_LIMIT = 80;
} // namespace

EventDialog::EventDialog(const std::string& name, const std::string& tooltip, int icon, QWidget* parent)
    : TemplateDialog(TEMPLATE_ID, parent), name_(name), tooltip_(tooltip), icon_(icon)
{
}

EventDialog::~EventDialog() = default;

bool EventDialog::onInitDialog()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    kova::translateDialog(this);
    // Enter is OK, as in every plain dialog.
    if (kova::RoundButton* ok = kova::RoundButton::attach(this, kova::IDOK))
        ok->setDefault(true);
    kova::RoundButton::attach(this, kova::IDCANCEL);
    setWindowIcon(QApplication::windowIcon());
    kova::limitText(getDlgItem(NAME), NAME_LIMIT);
    kova::limitText(getDlgItem(TOOLTIP), TOOLTIP_LIMIT);
    setDlgItemText(NAME, QString::fromStdString(name_));
    setDlgItemText(TOOLTIP, QString::fromStdString(tooltip_));

    icons_ = std::make_unique<kova::IconImageList>(0);
    auto* list = qobject_cast<QListWidget*>(getDlgItem(ICONS));
    if (list) {
        icons_->attachToListCtrl(list);
        icons_->fillListCtrl(list);
        // Pictures without text: the chosen one is marked by the cell behind it.
        list->setStyleSheet(QStringLiteral("QListView::item:selected { background-color: palette(highlight); }"));
        notifier().on(ICONS, kova::Notification::SelectionChanged, [this] { onIconSelected(); });
        if (icon_ >= 0 && icon_ < list->count()) {
            list->setCurrentRow(icon_);
            list->scrollToItem(list->item(icon_));
        }
        onIconSelected();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(getDlgItem(NAME))) {
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    }
    QApplication::restoreOverrideCursor();
    return false;
}

int EventDialog::selectedIcon() const
{
    const auto* list = qobject_cast<const QListWidget*>(getDlgItem(ICONS));
    if (!list)
        return -1;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.front());
}

void EventDialog::onIconSelected()
{
    const int icon = selectedIcon();
    if (icon < 0)
        return;
    icon_ = icon;
    icons_->setStaticIcon(qobject_cast<QLabel*>(getDlgItem(PICTURE)), icon);
}

void EventDialog::onOK()
{
    name_ = getDlgItemText(NAME).toStdString();
    tooltip_ = getDlgItemText(TOOLTIP).toStdString();
    const int icon = selectedIcon();
    if (icon < 0) {
        platform::messageBeep();
        return;
    }
    icon_ = icon;
    accept();
}
