#pragma once
// What the printing asks of the panel that shows a session's graphs: the
// strips of the configured print time, the strip around the first action,
// and the graphs drawn into a rectangle of the page.

class QPainter;

class PrintedGraphs {
public:
    virtual ~PrintedGraphs() = default;

    // The axis shows the strip that the debriefing report's first page prints.
    virtual void selectFirstActionPrintWindow() = 0;
    // The axis shows strip `page` (from 0).
    virtual void selectPrintPage(int page) = 0;
    // How many strips the session fills.
    virtual int getPrintPageCount() const = 0;
    // Draws the graphs of the axis's window into the rectangle (inclusive
    // page coordinates), in black and white when `monochrome` is set.
    virtual void printGraphs(QPainter& painter, int left, int top, int right, int bottom, bool monochrome) = 0;
};
