#include "controls/MdiClientWnd.h"

#include <QMdiSubWindow>

namespace kova {

MdiClientWnd::MdiClientWnd(QWidget* parent) : QMdiArea(parent) {}

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
