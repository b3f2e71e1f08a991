#pragma once
// Window geometry and focus-safe helpers shared by the dialogs: rectangles of
// controls in their parent's client coordinates, placing one window beside
// another, the work area of the nearest screen, and enabling, disabling or
// hiding a control without stranding the keyboard focus on it.

#include "Rodezir/Geometry.h"

class QWidget;

namespace kova {

// Placements of computePlacement: left of, right of, above and below the
// anchor; the same four centred on the anchor's other axis; right of it with
// top edges aligned.
enum Placement {
    PLACE_LEFT = 0,
    PLACE_RIGHT = 1,
    PLACE_ABOVE = 2,
    PLACE_BELOW = 3,
    PLACE_LEFT_CENTRED = 4,
    PLACE_RIGHT_CENTRED = 5,
    PLACE_ABOVE_CENTRED = 6,
    PLACE_BELOW_CENTRED = 7,
    PLACE_RIGHT_TOP = 8,
};

RECT toRect(int x, int y, int width, int height);

// The window's rectangle in its parent's client coordinates (a top-level
// window's frame on the screen when it has no parent).
RECT getWindowRectInParent(const QWidget* window);

// The top-left corner for `ours` placed beside `anchor` with `gap` pixels
// between them; (0, 0) for an unknown placement.
POINT computePlacement(const RECT& ours, const RECT& anchor, int placement, int gap);

// Moves the window (keeping its size) beside the anchor, given in its parent's client coordinates.
void placeWindowBeside(QWidget* window, const RECT& anchor, int placement, int gap);

// The available area of the screen nearest the window (the application's
// main window when null).
RECT getMonitorWorkArea(const QWidget* window = nullptr);

// Enables or disables; disabling the control that has the focus first moves
// the focus to the next control in tab order. Nothing when already so.
void enableControl(QWidget* control, bool enable);
void disableControl(QWidget* control);
// Shows or hides; hiding the control with the focus moves the focus on first.
void showControl(QWidget* control, bool show);

} // namespace kova
