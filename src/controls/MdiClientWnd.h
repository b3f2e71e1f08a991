#pragma once
// The main frame's MDI client area. A child being closed is first disabled
// and hidden, so it neither takes the focus nor shows half-destroyed while it
// goes. The MDI keys work anywhere in the main window, also while the focus
// is in a dialog inside a child: Ctrl+F6 activates the next child,
// Ctrl+Shift+F6 the previous one, Ctrl+F4 closes the active one. Activating a
// child never maximises it: a child decides that when it is created.

#include <QMdiArea>

class QMdiSubWindow;

namespace kova {

class MdiClientWnd : public QMdiArea {
    Q_OBJECT
public:
    explicit MdiClientWnd(QWidget* parent = nullptr);

    // Destroys one child window of the area.
    void mdiDestroy(QMdiSubWindow* child);
};

} // namespace kova
