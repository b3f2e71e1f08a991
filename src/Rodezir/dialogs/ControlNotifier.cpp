#include "Rodezir/dialogs/ControlNotifier.h"

#include "Rodezir/dialogs/DialogItem.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTreeWidget>
#include <QWidget>

#include <algorithm>

namespace kova {

ControlNotifier::ControlNotifier(QWidget* dialog) : QObject(dialog), dialog_(dialog)
{
    if (!dialog)
        return;
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children)
        if (controlId(child) != 0)
            hook(child);
}

void ControlNotifier::on(int controlId, Notification notification, Handler handler)
{
    handlers_[{controlId, notification}] = std::move(handler);
}

void ControlNotifier::onAny(AnyHandler handler)
{
    anyHandler_ = std::move(handler);
}

void ControlNotifier::attach(QWidget* control)
{
    if (control && controlId(control) != 0)
        hook(control);
}

void ControlNotifier::dispatch(int controlId, Notification notification)
{
    const auto found = handlers_.find({controlId, notification});
    if (found != handlers_.end() && found->second) {
        found->second();
        return;
    }
    if (anyHandler_)
        anyHandler_(controlId, notification);
}

bool ControlNotifier::send(QWidget* control, Notification notification)
{
    for (QWidget* window = control ? control->parentWidget() : nullptr; window; window = window->parentWidget()) {
        if (auto* notifier = window->findChild<ControlNotifier*>(QString(), Qt::FindDirectChildrenOnly)) {
            notifier->dispatch(controlId(control), notification);
            return true;
        }
    }
    return false;
}

void ControlNotifier::hook(QWidget* control)
{
    if (std::find(hooked_.begin(), hooked_.end(), control) != hooked_.end())
        return;
    hooked_.push_back(control);
    connect(control, &QObject::destroyed, this,
            [this, control] { hooked_.erase(std::remove(hooked_.begin(), hooked_.end(), control), hooked_.end()); });
    const int id = controlId(control);
    auto notify = [this, id](Notification notification) { return [this, id, notification] { dispatch(id, notification); }; };
    control->installEventFilter(this);

    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, notify(Notification::Clicked));
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // Only the user's choices, as a combo box reports them; a selection set by code is silent.
        connect(combo, &QComboBox::activated, this, notify(Notification::SelectionChanged));
        if (combo->isEditable())
            connect(combo, &QComboBox::editTextChanged, this, notify(Notification::EditChanged));
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textChanged, this, notify(Notification::EditChanged));
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        connect(edit, &QPlainTextEdit::textChanged, this, notify(Notification::EditChanged));
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        connect(list, &QListWidget::itemSelectionChanged, this, notify(Notification::SelectionChanged));
        connect(list, &QListWidget::itemDoubleClicked, this, notify(Notification::DoubleClicked));
    } else if (auto* view = qobject_cast<QTreeWidget*>(control)) {
        connect(view, &QTreeWidget::currentItemChanged, this, notify(Notification::ListItemChanged));
        connect(view, &QTreeWidget::itemSelectionChanged, this, notify(Notification::ListItemChanged));
        connect(view, &QTreeWidget::itemChanged, this, notify(Notification::ListItemChanged));
        connect(view, &QTreeWidget::itemDoubleClicked, this, notify(Notification::DoubleClicked));
    } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        connect(tabs, &QTabBar::currentChanged, this, notify(Notification::SelectionChanged));
    }
}

bool ControlNotifier::eventFilter(QObject* watched, QEvent* event)
{
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control)
        return false;
    switch (event->type()) {
    case QEvent::FocusOut:
        dispatch(controlId(control), Notification::FocusLost);
        break;
    case QEvent::MouseButtonDblClick:
        // Lists report double clicks on their items through their own signals.
        if (!qobject_cast<QListWidget*>(control) && !qobject_cast<QTreeWidget*>(control))
            dispatch(controlId(control), Notification::DoubleClicked);
        break;
    default:
        break;
    }
    return false;
}

} // namespace kova
