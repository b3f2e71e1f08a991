#include "Rodezir/dialogs/WindowGeometry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kova {
namespace {

// Moves the focus off a control that is about to become unreachable.
void moveFocusOnFrom(QWidget* control)
{
    if (!control->hasFocus())
        return;
    QWidget* next = control->nextInFocusChain();
    while (next && next != control) {
        if (next->isEnabled() && next->isVisible() && (next->focusPolicy() & Qt::TabFocus) && next->window() == control->window()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
        next = next->nextInFocusChain();
    }
}

RECT fromQRect(const QRect& rect)
{
    return toRect(rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace

RECT toRect(int x, int y, int width, int height)
{
    return {x, y, x + width, y + height};
}

RECT getWindowRectInParent(const QWidget* window)
{
    if (!window)
        return {};
    if (!window->isWindow())
        return fromQRect(window->geometry());
    const QRect frame = window->frameGeometry();
    if (const QWidget* parent = window->parentWidget()) {
        const QPoint topLeft = parent->mapFromGlobal(frame.topLeft());
        return toRect(topLeft.x(), topLeft.y(), frame.width(), frame.height());
    }
    return fromQRect(frame);
}

POINT computePlacement(const RECT& ours, const RECT& anchor, int placement, int gap)
{
    const int width = ours.width();
    const int height = ours.height();
    const int leftOf = anchor.left - gap - width;
    const int rightOf = anchor.right + gap;
    const int above = anchor.top - gap - height;
    const int below = anchor.bottom + gap;
    const int centredX = anchor.left + (anchor.width() - width) / 2;
    const int centredY = anchor.top + (anchor.height() - height) / 2;
    switch (placement) {
    case PLACE_LEFT: return {leftOf, ours.top};
    case PLACE_RIGHT: return {rightOf, ours.top};
    case PLACE_ABOVE: return {ours.left, above};
    case PLACE_BELOW: return {ours.left, below};
    case PLACE_LEFT_CENTRED: return {leftOf, centredY};
    case PLACE_RIGHT_CENTRED: return {rightOf, centredY};
    case PLACE_ABOVE_CENTRED: return {centredX, above};
    case PLACE_BELOW_CENTRED: return {centredX, below};
    case PLACE_RIGHT_TOP: return {rightOf, anchor.top};
    default: return {0, 0};
    }
}

void placeWindowBeside(QWidget* window, const RECT& anchor, int placement, int gap)
{
    if (!window)
        return;
    const RECT ours = getWindowRectInParent(window);
    const POINT corner = computePlacement(ours, anchor, placement, gap);
    window->setGeometry(corner.x, corner.y, ours.width(), ours.height());
}

RECT getMonitorWorkArea(const QWidget* window)
{
    if (!window)
        window = QApplication::activeWindow();
    QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return fromQRect(screen->availableGeometry());
}

void enableControl(QWidget* control, bool enable)
{
    // The control's own state: a control inside a disabled parent still counts as enabled.
    if (!control || !control->testAttribute(Qt::WA_ForceDisabled) == enable)
        return;
    if (!enable)
        moveFocusOnFrom(control);
    control->setEnabled(enable);
}

void disableControl(QWidget* control)
{
    if (!control)
        return;
    moveFocusOnFrom(control);
    control->setEnabled(false);
}

void showControl(QWidget* control, bool show)
{
    if (!control)
        return;
    if (!show)
        moveFocusOnFrom(control);
    control->setVisible(show);
}

} // namespace kova
