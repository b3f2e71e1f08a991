// The time axis of a session's graphs: its window arithmetic at 20 and 50
// samples a second, the live update with its jumps, labels, zoom gestures,
// the session's end, and windows, rates and steps too small to divide by.

#include "app/graphs/TimeAxis.h"

#include "GraphTestSession.h"
#include "app/graphs/AxisOwner.h"
#include "app/graphs/GraphPane.h"

#include "Rodezir/LogStream.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

using graphtest::TestSession;

namespace {

// A pane that records what the axis asked of it.
class RecordingPane final : public GraphPane {
public:
    void onMark(const GraphEvent&) override {}
    bool isPaneCreated() const override { return created; }
    void redrawAll() override { ++redraws; }
    void drawNewSamples(int from, int to) override { drawn.emplace_back(from, to); }
    void showZoomSelection(int from, int to) override { zoom = {from, to}; }
    void showSpanSelection(int from, int to) override { span = {from, to}; }
    std::optional<int> indexUnderCursor() const override { return cursor; }
    void captureMouse() override { captured = true; }
    void releaseMouseCapture() override { captured = false; }
    void onAxisDestroyed() override { axisGone = true; }

    bool created = true;
    int redraws = 0;
    std::vector<std::pair<int, int>> drawn;
    std::pair<int, int> zoom{-1, -1};
    std::pair<int, int> span{-1, -1};
    std::optional<int> cursor;
    bool captured = false;
    bool axisGone = false;
};

class RecordingOwner final : public AxisOwner {
public:
    void setZoomCursor(int mode) override { cursors.push_back(mode); }
    void updateScrollBar() override { ++scrollBarUpdates; }

    std::vector<int> cursors;
    int scrollBarUpdates = 0;
};

// The axis as its window uses it: the window exists and is 400 x 20 pixels,
// a label "000:00" 40 pixels wide.
class ShownAxis final : public TimeAxis {
public:
    ShownAxis(GraphSession& session, AxisOwner* owner) : TimeAxis(session, owner)
    {
        setClientSize(400, 20);
        setLabelWidth(40);
    }
    bool windowExists() const override { return true; }
    void paintLabels() override { ++labelPaints; }
    void notifyViewChanged() override { ++viewChanges; }

    int labelPaints = 0;
    int viewChanges = 0;
};

struct Fixture {
    explicit Fixture(double rate = 20.0) : session(rate), axis(session, &owner) { axis.addGraphView(pane); }
    ~Fixture() { axis.removeGraphView(pane); }

    // The session's samples reach `last`, handed over as one step.
    void reach(int last)
    {
        session.data.manData.resize(static_cast<std::size_t>(last + 1));
        axis.update(last);
    }

    TestSession session;
    RecordingOwner owner;
    ShownAxis axis;
    RecordingPane pane;
};

} // namespace

TEST(TimeAxis, windowLimitsFollowTheSampleRate)
{
    struct Case {
        double rate;
        int minView, maxView, defaultView;
    };
    for (const Case& c : {Case{20.0, 100, 72000, 400}, Case{50.0, 250, 180000, 1000}}) {
        Fixture f(c.rate);
        EXPECT_EQ(f.axis.minViewIndexes(), c.minView);
        EXPECT_EQ(f.axis.maxViewIndexes(), c.maxView);
        EXPECT_EQ(f.axis.getViewIndexes(), c.defaultView) << "20 seconds until a window is set";
        EXPECT_EQ(f.axis.getViewMoveIndexes(), c.defaultView / 2);
    }
}

TEST(TimeAxis, theLiveWindowDrawsOnlyNewSamplesAndJumpsByHalfAWindow)
{
    Fixture f;
    f.axis.setView(0, 100);
    f.pane.redraws = 0;
    f.reach(40);
    f.reach(100);
    EXPECT_EQ(f.pane.drawn, (std::vector<std::pair<int, int>>{{0, 40}, {40, 100}}));
    EXPECT_EQ(f.pane.redraws, 0);
    f.reach(100);
    EXPECT_EQ(f.pane.drawn.size(), 2u) << "no new sample, nothing drawn";

    f.reach(101);
    EXPECT_EQ(f.axis.getLeftIndex(), 50);
    EXPECT_EQ(f.axis.getLastUpdateIndex(), 101);
    EXPECT_EQ(f.pane.redraws, 1);
    EXPECT_EQ(f.pane.drawn.size(), 2u);

    // A step that brings many samples at once jumps as often as needed in one go.
    f.reach(1000);
    EXPECT_EQ(f.axis.getLeftIndex(), 900);
    f.reach(2'000'000);
    EXPECT_EQ(f.axis.getLeftIndex(), 1'999'900);
}

TEST(TimeAxis, aHiddenAxisOrAPaneWithoutWindowOnlyKeepsTheIndex)
{
    Fixture f;
    RecordingPane unborn;
    unborn.created = false;
    f.axis.addGraphView(unborn);
    f.reach(30);
    EXPECT_TRUE(unborn.drawn.empty());
    EXPECT_EQ(f.pane.drawn.size(), 1u);

    f.axis.setClientSize(0, 20);
    f.reach(60);
    EXPECT_EQ(f.axis.getLastUpdateIndex(), 60);
    EXPECT_EQ(f.pane.drawn.size(), 1u);
    f.axis.removeGraphView(unborn);
}

TEST(TimeAxis, settingAWindowKeepsTheNewestSampleInsideOnAMultipleOfHalfTheWindow)
{
    Fixture f;
    f.reach(450);
    f.axis.setViewIndexes(200);
    EXPECT_EQ(f.axis.getLeftIndex(), 300);
    EXPECT_EQ(f.axis.getViewIndexes(), 200);
    EXPECT_EQ(f.axis.getViewMoveIndexes(), 100);
    EXPECT_EQ(f.axis.viewChanges, 1);

    f.axis.setViewIndexes(1000);
    EXPECT_EQ(f.axis.getLeftIndex(), 0);

    f.axis.setMode(TimeAxis::MODE_SHOW_ALL);
    EXPECT_EQ(f.axis.getLeftIndex(), 0);
    EXPECT_EQ(f.axis.getViewIndexes(), 450);
    EXPECT_EQ(f.axis.getMode(), TimeAxis::MODE_NORMAL);
    EXPECT_EQ(f.owner.cursors.back(), TimeAxis::CURSOR_NORMAL);

    Fixture young;
    young.reach(20);
    young.axis.setMode(TimeAxis::MODE_SHOW_ALL);
    EXPECT_EQ(young.axis.getViewIndexes(), 100) << "never under five seconds";
}

TEST(TimeAxis, zoomGesturesStayBetweenFiveSecondsAndOneHour)
{
    struct Case {
        const char* name;
        int view;
        int mode;
        int down, up; // -1: no press
        bool right;
        int newLeft, newView;
    };
    const Case cases[] = {
        {"a click in zoom mode halves the window around it", 200, TimeAxis::MODE_ZOOM, 500, 500, false, 450, 100},
        {"a one-sample drag counts as a click", 400, TimeAxis::MODE_ZOOM, 500, 501, false, 400, 200},
        {"a drag shows what it covered", 4000, TimeAxis::MODE_ZOOM, 300, 900, false, 300, 600},
        {"a drag over 40 samples widens to five seconds", 4000, TimeAxis::MODE_ZOOM, 1000, 1040, false, 970, 100},
        {"a release without a press is a click", 400, TimeAxis::MODE_ZOOM, -1, 500, false, 400, 200},
        {"a right click doubles the window around it", 400, TimeAxis::MODE_NORMAL, -1, 1000, true, 600, 800},
        {"zooming out past one hour starts again at 0", 40000, TimeAxis::MODE_NORMAL, -1, 1000, true, 0, 72000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.axis.setView(0, c.view);
        f.axis.setMode(c.mode);
        if (c.down >= 0)
            f.axis.onLButtonDown(f.pane, c.down);
        if (c.right)
            f.axis.onRButtonUp(f.pane, c.up);
        else
            f.axis.onLButtonUp(f.pane, c.up);
        EXPECT_EQ(f.axis.getLeftIndex(), c.newLeft);
        EXPECT_EQ(f.axis.getViewIndexes(), c.newView);
        EXPECT_EQ(f.axis.getViewMoveIndexes(), c.newView / 2);
        EXPECT_EQ(f.axis.getMode(), TimeAxis::MODE_NORMAL);
        EXPECT_EQ(f.axis.getAnchorIndex(), -1);
        EXPECT_FALSE(f.pane.captured);
        EXPECT_EQ(f.pane.zoom, std::make_pair(-1, -1));
        EXPECT_EQ(f.owner.cursors.back(), TimeAxis::CURSOR_NORMAL);
        EXPECT_EQ(f.axis.viewChanges, 2);
    }
}

TEST(TimeAxis, aDragShowsItsSelectionInEveryPaneByMode)
{
    Fixture f;
    RecordingPane other;
    f.axis.addGraphView(other);
    f.axis.setMode(TimeAxis::MODE_ZOOM);
    EXPECT_EQ(f.owner.cursors.back(), TimeAxis::MODE_ZOOM);
    f.axis.onLButtonDown(f.pane, 300);
    EXPECT_TRUE(f.pane.captured);
    f.axis.onMouseMove(f.pane, 120);
    EXPECT_EQ(f.pane.zoom, std::make_pair(120, 300));
    EXPECT_EQ(other.zoom, std::make_pair(120, 300));
    EXPECT_EQ(other.span, std::make_pair(-1, -1));
    f.axis.onLButtonUp(f.pane, 120);

    f.axis.onLButtonDown(other, 50);
    f.axis.onMouseMove(other, 90);
    EXPECT_EQ(f.pane.span, std::make_pair(50, 90));
    const int left = f.axis.getLeftIndex();
    const int view = f.axis.getViewIndexes();
    f.axis.onLButtonUp(other, 90);
    EXPECT_EQ(f.pane.span, std::make_pair(-1, -1));
    EXPECT_FALSE(other.captured);
    EXPECT_EQ(f.axis.getLeftIndex(), left) << "a selection in normal mode only measures";
    EXPECT_EQ(f.axis.getViewIndexes(), view);
    f.axis.onMouseMove(f.pane, 200);
    EXPECT_EQ(f.pane.span, std::make_pair(-1, -1)) << "no drag, no selection";
    f.axis.removeGraphView(other);
}

TEST(TimeAxis, afterAJumpTheSelectionFollowsTheCursor)
{
    Fixture f;
    f.axis.setView(0, 100);
    f.axis.onLButtonDown(f.pane, 80);
    f.pane.cursor = 130;
    f.reach(101);
    EXPECT_EQ(f.pane.span, std::make_pair(80, 130));
}

TEST(TimeAxis, surveillanceTilesOpenTheirSessionInsteadOfZooming)
{
    Fixture f;
    f.axis.setMode(TimeAxis::MODE_SURVEILLANCE);
    f.axis.onRButtonUp(f.pane, 300);
    f.axis.onDoubleClick(f.pane, 300);
    EXPECT_EQ(f.session.windowShown, 2);
    EXPECT_EQ(f.axis.getViewIndexes(), 400);
    EXPECT_EQ(f.axis.getMode(), TimeAxis::MODE_SURVEILLANCE);

    f.axis.setMode(TimeAxis::MODE_NORMAL);
    f.axis.onDoubleClick(f.pane, 300);
    EXPECT_EQ(f.session.windowShown, 2);
    f.axis.setMode(7);
    EXPECT_EQ(f.axis.getMode(), TimeAxis::MODE_NORMAL) << "unknown modes are ignored";
}

TEST(TimeAxis, labelsStepByWhatFitsAndReadMinutesAndSeconds)
{
    Fixture f;
    f.axis.setClientSize(200, 20);
    f.axis.setLabelWidth(100); // two labels fit
    f.axis.setView(0, 200);
    EXPECT_EQ(f.axis.getTickStepMs(), 5000);
    f.axis.setView(0, 198);
    EXPECT_EQ(f.axis.getTickStepMs(), 1000);
    f.axis.setClientSize(1000, 20);
    f.axis.setView(0, 72000);
    EXPECT_EQ(f.axis.getTickStepMs(), 600000);
    f.axis.setLabelWidth(0);
    EXPECT_EQ(f.axis.getTickStepMs(), 1200000) << "no label measured yet: none fits";

    EXPECT_EQ(TimeAxis::labelText(5), "0:05");
    EXPECT_EQ(TimeAxis::labelText(60), "1:00");
    EXPECT_EQ(TimeAxis::labelText(750), "12:30");

    f.axis.setClientSize(400, 20);
    f.axis.setLabelWidth(40);
    f.axis.setView(100, 400); // 20 s: a label every 5 s
    const auto labels = f.axis.labels();
    ASSERT_EQ(labels.size(), 3u) << "the label at the left edge is left out";
    EXPECT_EQ(labels[0].index, 200);
    EXPECT_EQ(labels[0].x, 100);
    EXPECT_EQ(labels[0].text, "0:10");
    EXPECT_EQ(labels[2].index, 400);
    EXPECT_EQ(labels[2].x, 300);
    EXPECT_EQ(labels[2].text, "0:20");
}

TEST(TimeAxis, labelPositionsOfAFourHourWindowOnAWidePageDoNotOverflow)
{
    Fixture f(50.0);
    f.axis.setAxisRect(100, 6600);
    f.axis.setView(0, 720000);
    const auto labels = f.axis.labels();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.back().index, 708000);
    EXPECT_EQ(labels.back().x, 100 + 6490);
    EXPECT_EQ(labels.back().text, "236:00");
}

TEST(TimeAxis, tinyWindowsAndAMissingRateNeverDivideByZeroNorHang)
{
    Fixture f;
    f.axis.setViewIndexes(1);
    EXPECT_EQ(f.axis.getViewIndexes(), 2);
    EXPECT_EQ(f.axis.getViewMoveIndexes(), 1);
    f.axis.setViewIndexes(0);
    EXPECT_EQ(f.axis.getViewIndexes(), 2);
    f.axis.setView(-5, -1);
    EXPECT_EQ(f.axis.getLeftIndex(), 0);
    EXPECT_EQ(f.axis.getViewIndexes(), 2);
    f.reach(100000);
    EXPECT_EQ(f.axis.getLeftIndex(), 99998);
    f.axis.setMode(TimeAxis::MODE_ZOOM);
    f.axis.onLButtonUp(f.pane, 50);
    EXPECT_EQ(f.axis.getViewIndexes(), 100);

    Fixture noRate(0.0);
    EXPECT_EQ(noRate.axis.getViewIndexes(), 2) << "20 seconds of no rate is still a window";
    EXPECT_EQ(noRate.axis.indexStep(), 0);
    EXPECT_TRUE(noRate.axis.labels().empty());
    EXPECT_EQ(noRate.axis.millisecondsOf(500), 0);
    // A rate far below any manikin's gives the longest time, not a wrapped one.
    EXPECT_GT(TimeAxis::millisecondsOf(500, 1e-300), 0);
    EXPECT_LT(TimeAxis::millisecondsOf(-500, 1e-300), 0);
    noRate.reach(1000);
    noRate.axis.setMode(TimeAxis::MODE_ZOOM);
    noRate.axis.onLButtonUp(noRate.pane, 10);
    noRate.axis.onRButtonUp(noRate.pane, 10);
    EXPECT_GE(noRate.axis.getViewIndexes(), 2);
    noRate.axis.setMode(TimeAxis::MODE_SHOW_ALL);
    EXPECT_EQ(noRate.axis.getViewIndexes(), 1000);
}

TEST(TimeAxis, anAxisThatSeesItsSessionEndedStopsTheDragAndShowsTheRunFromItsStart)
{
    Fixture f;
    f.axis.setView(0, 100);
    f.reach(599);
    f.axis.onLButtonDown(f.pane, 560);
    f.axis.onMouseMove(f.pane, 580);
    f.session.ended = true; // the session ended itself at index 600
    f.reach(600);
    EXPECT_EQ(f.axis.getLeftIndex(), 0);
    EXPECT_EQ(f.axis.getLastUpdateIndex(), 599) << "the sample past the time is not shown";
    EXPECT_EQ(f.axis.getAnchorIndex(), -1);
    EXPECT_FALSE(f.pane.captured);
    EXPECT_EQ(f.pane.span, std::make_pair(-1, -1));
    EXPECT_EQ(f.owner.scrollBarUpdates, 1);
    f.reach(600);
    EXPECT_EQ(f.owner.scrollBarUpdates, 1) << "only once";

    TestSession stored(20.0, true);
    RecordingOwner owner;
    ShownAxis axis(stored, &owner);
    stored.data.manData.resize(300);
    axis.catchUp();
    EXPECT_EQ(axis.getLastUpdateIndex(), 299);
    EXPECT_EQ(owner.scrollBarUpdates, 0) << "a session read from its file was never running";
}

TEST(TimeAxis, joiningTheSessionFollowsItsStepsAndFourDisplaySwitches)
{
    Fixture f;
    f.axis.join();
    f.axis.join();
    EXPECT_EQ(f.session.receivers.size(), 1u);
    f.session.data.manData.resize(11);
    f.session.publish();
    EXPECT_EQ(f.axis.getLastUpdateIndex(), 10);

    for (const int id : {GraphToggles::PROBLEMS, GraphToggles::EVENTS, GraphToggles::CR_RATIO,
                         GraphToggles::CARDIAC_OUTPUT, GraphToggles::ECG_SIGNAL}) {
        const int before = f.pane.redraws;
        f.session.toggles.set(id, false);
        EXPECT_EQ(f.pane.redraws - before, id == GraphToggles::ECG_SIGNAL ? 0 : 1) << id;
    }
    f.axis.leave();
    EXPECT_TRUE(f.session.receivers.empty());
    const int before = f.pane.redraws;
    f.session.toggles.set(GraphToggles::PROBLEMS, true);
    EXPECT_EQ(f.pane.redraws, before);
}

TEST(TimeAxis, anAxisGoingAwayLetsItsPanesLeave)
{
    // A pane that leaves its axis when told, as the graph pane does.
    struct LeavingPane final : GraphPane {
        void onMark(const GraphEvent&) override {}
        bool isPaneCreated() const override { return true; }
        void redrawAll() override { ++redraws; }
        void drawNewSamples(int, int) override {}
        void showZoomSelection(int, int) override {}
        void showSpanSelection(int, int) override {}
        std::optional<int> indexUnderCursor() const override { return std::nullopt; }
        void captureMouse() override {}
        void releaseMouseCapture() override {}
        void onAxisDestroyed() override
        {
            axis->removeGraphView(*this);
            axis = nullptr;
        }
        TimeAxis* axis = nullptr;
        int redraws = 0;
    };
    TestSession session;
    LeavingPane first, second;
    {
        TimeAxis axis(session, nullptr);
        for (LeavingPane* pane : {&first, &second}) {
            pane->axis = &axis;
            axis.addGraphView(*pane);
        }
        EXPECT_EQ(first.redraws, 1) << "a pane joining is drawn whole";
    }
    EXPECT_EQ(first.axis, nullptr);
    EXPECT_EQ(second.axis, nullptr);
    const std::string log = kovatest::readFile(LogStream::instance().path());
    EXPECT_EQ(log.find("graphViewList_.empty()"), std::string::npos) << log;
}
