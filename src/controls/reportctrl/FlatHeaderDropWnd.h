#pragma once
// The marker a flat header shows over a divider where a dragged column would
// land: a small topmost window that never takes the activation.

#include <QColor>
#include <QWidget>

namespace kova {

class FlatHeaderDropWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int BODY_WIDTH = 12;

    FlatHeaderDropWnd(int headerHeight, const QColor& colour);
    // Centres the marker's body on `x` (global coordinates), with its top at `top`.
    void moveTo(int x, int top);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

} // namespace kova
