#include "Database/editors/EditEventsDialog.h"

#include "Database/editors/EventDialog.h"
#include "Database/editors/EventListView.h"
#include "Rodezir/LogStream.h"
#include "Rodezir/dialogs/BoxLayout.h"
#include "Rodezir/dialogs/ControlGroup.h"
#include "Rodezir/dialogs/LayoutSpacer.h"
#include "Rodezir/gstringUtil.h"
#include "controls/RoundButton.h"
#include "gettext/Gettext.h"
#include "platform/Beep.h"
#include "platform/Help.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTreeWidget>

#include <utility>

namespace {
std::string translated(const char* msgid) { return toNarrow(Gettext::translate(msgid), CP_ACP); }
} // namespace

EditEventsDialog::EditEventsDialog(const std::string& scenario, QWidget* parent)
    : LayoutDialog(TEMPLATE_ID, parent), scenario_(scenario), store_(scenario)
{
}

EditEventsDialog::~EditEventsDialog() = default;

QTreeWidget* EditEventsDialog::list() const { return qobject_cast<QTreeWidget*>(getDlgItem(LIST)); }

bool EditEventsDialog::onInitDialog()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool result = LayoutDialog::onInitDialog();
    std::wstring caption = Gettext::translate("Events associated with scenario '%hs':");
    if (const auto at = caption.find(L"%hs"); at != std::wstring::npos)
        caption.replace(at, 3, toWide(scenario_, CP_ACP));
    setDlgItemText(CAPTION, QString::fromStdWString(caption));
    setWindowIcon(QApplication::windowIcon());
    for (int id : {ADD, REMOVE, MOVE_UP, MOVE_DOWN, kova::IDCANCEL, HELP})
        kova::RoundButton::attach(this, id);

    // The list takes the extra height; the buttons keep their rows in the
    // middle, between two spacers that share the extra width with them.
    auto buttons = std::make_unique<kova::RowLayout>();
    buttons->add(1, kova::LayoutSpacer::create(0, 0));
    buttons->add(1, kova::ControlGroup::create(this, ADD, REMOVE, MOVE_UP, MOVE_DOWN, kova::IDCANCEL, HELP));
    buttons->add(1, kova::LayoutSpacer::create(0, 0));
    auto column = std::make_unique<kova::ColumnLayout>();
    column->add(0, kova::ControlGroup::create(this, CAPTION));
    column->add(1, kova::ControlGroup::create(this, LIST));
    column->add(0, kova::LayoutItemPtr(buttons.release()));
    setLayout(kova::LayoutItemPtr(column.release()), false);

    if (QTreeWidget* events = list()) {
        view_ = std::make_unique<EventListView>(*events);
        store_.setupListColumns(*view_);
        events->setSelectionMode(QAbstractItemView::SingleSelection);
        events_ = store_.load();
        ScenarioEventList::showEvents(*view_, events_);
    }
    changed_ = false;

    kova::ControlNotifier& commands = notifier();
    commands.on(ADD, kova::Notification::Clicked, [this] { add(); });
    commands.on(REMOVE, kova::Notification::Clicked, [this] { remove(); });
    commands.on(MOVE_UP, kova::Notification::Clicked, [this] { moveUp(); });
    commands.on(MOVE_DOWN, kova::Notification::Clicked, [this] { moveDown(); });
    commands.on(LIST, kova::Notification::DoubleClicked, [this] { edit(); });
    commands.on(HELP, kova::Notification::Clicked, [] {
        if (!platform::showHelpTopic(HELP_TOPIC))
            LogStream::instance() << "Online help is not available (topic " << HELP_TOPIC << ").\n";
    });
    QApplication::restoreOverrideCursor();
    return result;
}

void EditEventsDialog::onSize(int cx, int cy)
{
    LayoutDialog::onSize(cx, cy);
    if (isInitialised() && view_)
        ScenarioEventList::sizeListColumns(*view_);
}

int EditEventsDialog::selectedIndex() const
{
    const QTreeWidget* events = list();
    if (!events)
        return -1;
    const QList<QTreeWidgetItem*> selected = events->selectedItems();
    return selected.isEmpty() ? -1 : events->indexOfTopLevelItem(selected.front());
}

void EditEventsDialog::showAndSelect(int index)
{
    ScenarioEventList::showEvents(*view_, events_);
    QTreeWidget* events = list();
    if (QTreeWidgetItem* item = events->topLevelItem(index)) {
        events->setCurrentItem(item);
        events->scrollToItem(item);
    }
    events->setFocus(Qt::OtherFocusReason);
}

void EditEventsDialog::add()
{
    if (!view_)
        return;
    EventDialog dialog(translated("Name"), translated("Tooltip"), 0, this);
    if (dialog.doModal() != QDialog::Accepted)
        return;
    events_.push_back({scenario_, static_cast<long>(events_.size()), dialog.name(), dialog.tooltip(), dialog.icon()});
    showAndSelect(static_cast<int>(events_.size()) - 1);
    changed_ = true;
}

void EditEventsDialog::remove()
{
    const int index = selectedIndex();
    if (index < 0) {
        platform::messageBeep();
        return;
    }
    events_.erase(events_.begin() + index);
    QTreeWidget* events = list();
    delete events->takeTopLevelItem(index);
    if (QTreeWidgetItem* next = events->topLevelItem(index))
        events->setCurrentItem(next);
    else
        events->clearSelection();
    changed_ = true;
}

void EditEventsDialog::swapWithNext(int index)
{
    std::swap(events_[static_cast<std::size_t>(index)], events_[static_cast<std::size_t>(index) + 1]);
    changed_ = true;
}

void EditEventsDialog::moveUp()
{
    const int index = selectedIndex();
    if (index < 1) {
        platform::messageBeep();
        return;
    }
    swapWithNext(index - 1);
    showAndSelect(index - 1);
}

void EditEventsDialog::moveDown()
{
    const int index = selectedIndex();
    if (index < 0 || index + 1 >= static_cast<int>(events_.size())) {
        platform::messageBeep();
        return;
    }
    swapWithNext(index);
    showAndSelect(index + 1);
}

void EditEventsDialog::edit()
{
    const int index = selectedIndex();
    if (index < 0) {
        platform::messageBeep();
        return;
    }
    EventRecord& event = events_[static_cast<std::size_t>(index)];
    EventDialog dialog(event.name, event.tooltip, static_cast<int>(event.icon), this);
    if (dialog.doModal() != QDialog::Accepted)
        return;
    event.name = dialog.name();
    event.tooltip = dialog.tooltip();
    event.icon = dialog.icon();
    showAndSelect(index);
    changed_ = true;
}

// A focused button still takes Enter itself; anywhere else it is IDOK, which
// does nothing, and never falls to a default button.
void EditEventsDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        onOK();
        event->accept();
        return;
    }
    LayoutDialog::keyPressEvent(event);
}

// A list the database refused stays open with its changes, so nothing the
// user arranged is lost; the store has told them why.
void EditEventsDialog::onCancel()
{
    if (!changed_) {
        reject();
        return;
    }
    switch (platform::messageBox(Gettext::translate("Save changes?"), L"Kova CPR Software",
                                 platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION)) {
    case platform::IDYES:
        if (store_.save(events_))
            accept();
        return;
    case platform::IDNO:
        reject();
        return;
    default:
        return;
    }
}
