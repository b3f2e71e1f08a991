#include "controls/ControlReplacement.h"

#include "Rodezir/dialogs/ControlNotifier.h"
#include "Rodezir/dialogs/DialogItem.h"

#include <QWidget>

namespace kova {
namespace {

ControlNotifier* notifierOf(QWidget* control)
{
    for (QWidget* window = control->parentWidget(); window; window = window->parentWidget())
        if (auto* notifier = window->findChild<ControlNotifier*>(QString(), Qt::FindDirectChildrenOnly))
            return notifier;
    return nullptr;
}

} // namespace

bool replaceDialogControl(QWidget* parent, int id, QWidget* replacement)
{
    QWidget* old = getDlgItem(parent, id);
    if (!old || !replacement || old == replacement)
        return false;
    QWidget* container = old->parentWidget();
    replacement->setParent(container);
    replacement->setGeometry(old->geometry());
    replacement->setFont(old->font());
    replacement->setEnabled(old->isEnabled());
    replacement->setToolTip(old->toolTip());
    setControlId(replacement, id);
    setWindowText(replacement, windowText(old));
    // Taking the old control's place in the tab chain before it goes keeps the order.
    if (container)
        QWidget::setTabOrder(old, replacement);
    replacement->stackUnder(old);
    replacement->setVisible(!old->isHidden());
    const bool hadFocus = old->hasFocus();
    setControlId(old, 0);
    delete old;
    if (hadFocus)
        replacement->setFocus();
    if (auto* notifier = notifierOf(replacement))
        notifier->attach(replacement);
    return true;
}

} // namespace kova
