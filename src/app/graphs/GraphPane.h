#pragma once
// What a graph document and a time axis ask of a pane that shows a curve; the
// windowed pane (GraphView) answers, and tests put fakes in its place.

#include <optional>

struct GraphEvent;

class GraphPane {
public:
    virtual ~GraphPane() = default;

    // A mark was added to the pane's document, or read into it.
    virtual void onMark(const GraphEvent& mark) = 0;

    // The pane's window exists (panes without one draw nothing).
    virtual bool isPaneCreated() const = 0;
    // Background, band, grid, labels, marks and the visible curve drawn again
    // and shown.
    virtual void redrawAll() = 0;
    // The curve from sample `from` to `to` drawn and that strip shown.
    virtual void drawNewSamples(int from, int to) = 0;
    // Selections between two sample indexes; (-1, -1) clears.
    virtual void showZoomSelection(int from, int to) = 0;
    virtual void showSpanSelection(int from, int to) = 0;
    // The sample index under the mouse cursor when the cursor is over the
    // pane's window.
    virtual std::optional<int> indexUnderCursor() const = 0;
    // A drag that began in this pane keeps the mouse until it ends.
    virtual void captureMouse() = 0;
    virtual void releaseMouseCapture() = 0;
    // The pane's axis is going away; the pane no longer uses it.
    virtual void onAxisDestroyed() = 0;
};
