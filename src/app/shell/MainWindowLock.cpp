#include "app/shell/MainWindowLock.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolBar>

MainWindowLock::~MainWindowLock() { unlock(); }

void MainWindowLock::lock(QMainWindow& window, const QWidget* keep)
{
    take(window.menuWidget());
    for (QToolBar* bar : window.findChildren<QToolBar*>())
        take(bar);
    if (auto* client = qobject_cast<QMdiArea*>(window.centralWidget()))
        for (QMdiSubWindow* other : client->subWindowList())
            if (other != keep)
                take(other);
}

void MainWindowLock::unlock()
{
    for (const QPointer<QWidget>& widget : disabled_)
        if (widget)
            widget->setEnabled(true);
    disabled_.clear();
}

void MainWindowLock::take(QWidget* widget)
{
    // What was disabled before stays so afterwards.
    if (widget && widget->isEnabled()) {
        widget->setEnabled(false);
        disabled_.emplace_back(widget);
    }
}
