#pragma once
// The visible time window of a session's graphs and the arithmetic of its time
// axis: the sample at the left edge, the samples across, the jump of the live
// window, the label step and texts, the live update with its jumps, and the
// zoom and selection gestures of the panes. Window-free; the axis window
// (AxisCtrl) measures, paints the labels and answers the hooks below.

#include "Rodezir/SlotHolder.h"
#include "app/sessions/UpdateReceiver.h"

#include <cstdint>
#include <string>
#include <vector>

class AxisOwner;
class GraphPane;
class GraphSession;

class TimeAxis : public UpdateReceiver, public virtual SlotHolder {
public:
    // Mouse modes.
    static constexpr int MODE_ZOOM = 0;
    static constexpr int MODE_SHOW_ALL = 1;
    static constexpr int MODE_RELEASE = 2;
    static constexpr int MODE_NORMAL = 3;
    static constexpr int MODE_SURVEILLANCE = 4;
    // What the owner's zoom cursor is told for the normal mode.
    static constexpr int CURSOR_NORMAL = 3;
    // Seconds visible until a window is set.
    static constexpr int DEFAULT_WINDOW_MS = 20000;
    static constexpr int MIN_WINDOW = 2;

    struct Label {
        int index;
        int x;
        std::string text;
    };

    // owner: the live panel hosting the axis, or null (surveillance tiles).
    TimeAxis(GraphSession& session, AxisOwner* owner);
    // Every pane still attached is told the axis is gone.
    ~TimeAxis() override;
    TimeAxis(const TimeAxis&) = delete;
    TimeAxis& operator=(const TimeAxis&) = delete;

    GraphSession& getSession() const { return session_; }
    int getLeftIndex() const { return leftIndex_; }
    int getViewIndexes() const { return viewIndexes_; }
    int getViewMoveIndexes() const { return viewMoveIndexes_; }
    int getLastUpdateIndex() const { return lastUpdateIndex_; }
    double getCurrentFreq() const { return currentFreq_; }
    int getTickStepMs() const { return tickStepMs_; }
    int getMode() const { return mode_; }
    int getAnchorIndex() const { return anchorIndex_; }

    // Five seconds and one hour of samples; samples per label (0 or less:
    // no labels and no grid).
    int minViewIndexes() const;
    int maxViewIndexes() const;
    int indexStep() const;
    // Milliseconds from the start to sample `index` at the current rate (0
    // without a rate).
    std::int64_t millisecondsOf(std::int64_t index) const;
    static std::int64_t millisecondsOf(std::int64_t index, double rate);
    // "m:ss" of whole seconds.
    static std::string labelText(std::int64_t seconds);
    // The labelled indexes of the window: the multiples of the index step
    // after the left edge (one exactly at the edge is left out), before its end.
    std::vector<int> labelIndexes() const;
    // The labels with their x positions in the axis rectangle.
    std::vector<Label> labels() const;

    // Panes in their order of attachment (not owned).
    void addGraphView(GraphPane& pane);
    void removeGraphView(GraphPane& pane);
    const std::vector<GraphPane*>& getGraphViewList() const { return graphViewList_; }

    // Joins the session's update receivers and the four display switches
    // that change what panes draw; leave() undoes both.
    void join();
    void leave();

    void setLeftIndex(int index);
    // A window of `count` samples whose left edge is the smallest multiple of
    // half the window that still shows the newest sample.
    void setViewIndexes(int count);
    void setView(int left, int count);
    void setMode(int mode);
    // Takes the session's newest sample as if it had just been handed over.
    void catchUp();
    void update(int newIndex) override;
    // Every pane draws itself anew.
    void redrawAll();

    // Gestures of a pane, with the sample index under the cursor.
    void onMouseMove(GraphPane& pane, int index);
    void onLButtonDown(GraphPane& pane, int index);
    void onLButtonUp(GraphPane& pane, int index);
    void onRButtonUp(GraphPane& pane, int index);
    void onDoubleClick(GraphPane& pane, int index);

    // The window's geometry: its client size (also the label area) and the
    // extent of the widest label "000:00".
    void setClientSize(int width, int height);
    void setLabelWidth(int width);
    int getLabelWidth() const { return labelWidth_; }
    // The area labels are placed in (the client area, or a printing rectangle).
    void setAxisRect(int left, int width);
    int getAxisLeft() const { return axisLeft_; }
    int getAxisWidth() const { return axisWidth_; }
    void recomputeTickStep();

protected:
    // Hooks of the axis window.
    virtual bool windowExists() const { return false; }
    virtual void paintLabels() {}
    // The visible window changed (the live panel updates its scroll bar and zoom list).
    virtual void notifyViewChanged() {}
    virtual void invalidateLabels() {}

    void refresh();

private:
    void onToggle(int controlId, bool on);
    void applyView(int left, int count);
    void zoomTo(int left, int count);
    void endDrag();
    void showSelection(int from, int to);
    void followCursor();
    void sessionEnded();

    GraphSession& session_;
    AxisOwner* owner_;
    double currentFreq_;
    int lastUpdateIndex_ = 0;
    int leftIndex_ = 0;
    int viewIndexes_ = MIN_WINDOW;
    int viewMoveIndexes_ = 1;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    int axisLeft_ = 0;
    int axisWidth_ = 0;
    int labelWidth_ = 0;
    int tickStepMs_ = 1000;
    int mode_ = MODE_NORMAL;
    int anchorIndex_ = -1;
    bool sawEnd_;
    bool joined_ = false;
    GraphPane* capturePane_ = nullptr;
    std::vector<GraphPane*> graphViewList_;
};
