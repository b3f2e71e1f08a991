#pragma once
// The main frame's MDI client area. A child being closed is first disabled
// and hidden, so it neither takes the focus nor shows half-destroyed while it goes.

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
