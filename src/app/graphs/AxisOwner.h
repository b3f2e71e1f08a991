#pragma once
// What a time axis tells the live graph panel that hosts it: its zoom mode
// (for the zoom buttons and the cursor) and that the scroll bar must follow
// the visible window.

class AxisOwner {
public:
    virtual ~AxisOwner() = default;
    // 0: zoom by selection armed; 1: zoom out; any other value: normal.
    virtual void setZoomCursor(int mode) = 0;
    virtual void updateScrollBar() = 0;
};
