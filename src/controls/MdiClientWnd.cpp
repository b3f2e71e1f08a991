#include "controls/MdiClientWnd.h"

#include <QMdiSubWindow>
#include <QShortcut>

namespace kova {

MdiClientWnd::MdiClientWnd(QWidget* parent) : QMdiArea(parent)
{
    setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    const auto addKey = [this](QKeyCombination keys, void (MdiClientWnd::*action)()) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    addKey(Qt::CTRL | Qt::Key_F6, &QMdiArea::activateNextSubWindow);
    addKey(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, &QMdiArea::activatePreviousSubWindow);
    addKey(Qt::CTRL | Qt::Key_F4, &QMdiArea::closeActiveSubWindow);
}

void MdiClientWnd::mdiDestroy(QMdiSubWindow* child)
{
    if (!child || child->mdiArea() != this)
        return;
    child->setEnabled(false);
    child->hide();
    removeSubWindow(child);
    child->deleteLater();
}

} // namespace kova
