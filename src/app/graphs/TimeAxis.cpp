#include "app/graphs/TimeAxis.h"

#include "Rodezir/LogStream.h"
#include "app/graphs/AxisOwner.h"
#include "app/graphs/GraphPane.h"
#include "app/graphs/GraphSession.h"
#include "app/graphs/GraphToggles.h"
#include "comm/session/CommSession.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>

namespace {

// The label steps in milliseconds, tried in order until the labels of the
// window fit; the last one serves when none does.
constexpr std::array<int, 5> TICK_STEPS{5000, 20000, 60000, 240000, 600000};
constexpr int LONGEST_TICK_STEP = 1200000;

int clampToInt(std::int64_t value)
{
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

// Samples in `ms` milliseconds at the rate, truncated as the axis counts them.
int samplesIn(double ms, double rate)
{
    if (!(rate > 0.0))
        return 0;
    const double samples = (rate * ms + 500.0) * 0.001;
    return samples >= INT_MAX ? INT_MAX : static_cast<int>(samples);
}

double rateOf(const GraphSession& session) { return session.graphData().sampleRate; }

} // namespace

TimeAxis::TimeAxis(GraphSession& session, AxisOwner* owner)
    : session_(session), owner_(owner), currentFreq_(rateOf(session)), sawEnd_(session.hasEnded())
{
    KOVA_ASSERT(currentFreq_ != 0.0);
    // Until a window is set the axis shows 20 seconds, never fewer than two samples.
    viewIndexes_ = std::max(MIN_WINDOW, samplesIn(DEFAULT_WINDOW_MS, currentFreq_));
    viewMoveIndexes_ = viewIndexes_ / 2;
}

TimeAxis::~TimeAxis()
{
    const std::vector<GraphPane*> panes = graphViewList_;
    for (GraphPane* pane : panes)
        pane->onAxisDestroyed();
    KOVA_ASSERT(graphViewList_.empty());
    graphViewList_.clear();
}

int TimeAxis::minViewIndexes() const { return samplesIn(5000, currentFreq_); }

int TimeAxis::maxViewIndexes() const { return samplesIn(3600000, currentFreq_); }

int TimeAxis::indexStep() const { return samplesIn(tickStepMs_, currentFreq_); }

std::int64_t TimeAxis::millisecondsOf(std::int64_t index) const { return millisecondsOf(index, currentFreq_); }

std::int64_t TimeAxis::millisecondsOf(std::int64_t index, double rate)
{
    if (!(rate > 0.0))
        return 0;
    // Saturates for a rate far below any manikin's (a stored row may hold any figure).
    constexpr double LONGEST = 9.2e18;
    return static_cast<std::int64_t>(
        std::clamp(((static_cast<double>(index) + 0.5) / rate) * 1000.0 + 0.5, -LONGEST, LONGEST));
}

std::string TimeAxis::labelText(std::int64_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60));
    return text;
}

std::vector<int> TimeAxis::labelIndexes() const
{
    std::vector<int> indexes;
    const std::int64_t step = indexStep();
    if (step <= 0 || viewIndexes_ <= 0)
        return indexes;
    const std::int64_t end = static_cast<std::int64_t>(leftIndex_) + viewIndexes_;
    for (std::int64_t index = leftIndex_ - leftIndex_ % step + step; index < end; index += step)
        indexes.push_back(static_cast<int>(index));
    return indexes;
}

std::vector<TimeAxis::Label> TimeAxis::labels() const
{
    std::vector<Label> result;
    for (const int index : labelIndexes()) {
        const std::int64_t seconds = (millisecondsOf(index) + 500) / 1000;
        const std::int64_t x = axisLeft_ + static_cast<std::int64_t>(axisWidth_) * (index - leftIndex_) / viewIndexes_;
        result.push_back({index, clampToInt(x), labelText(seconds)});
    }
    return result;
}

void TimeAxis::addGraphView(GraphPane& pane)
{
    graphViewList_.push_back(&pane);
    pane.redrawAll();
}

void TimeAxis::removeGraphView(GraphPane& pane)
{
    const auto found = std::find(graphViewList_.begin(), graphViewList_.end(), &pane);
    KOVA_ASSERT(found != graphViewList_.end());
    if (found != graphViewList_.end())
        graphViewList_.erase(found);
    if (capturePane_ == &pane)
        capturePane_ = nullptr;
}

void TimeAxis::join()
{
    if (joined_)
        return;
    joined_ = true;
    session_.addUpdateReceiver(*this);
    GraphToggles& toggles = session_.graphToggles();
    for (const int id : {GraphToggles::PROBLEMS, GraphToggles::EVENTS, GraphToggles::CR_RATIO,
                         GraphToggles::CARDIAC_OUTPUT})
        connect(toggles.signal(id), *this, &TimeAxis::onToggle);
}

void TimeAxis::leave()
{
    if (!joined_)
        return;
    joined_ = false;
    session_.removeUpdateReceiver(*this);
    slotConnections().disconnectAll();
}

void TimeAxis::onToggle(int, bool) { redrawAll(); }

void TimeAxis::refresh()
{
    currentFreq_ = rateOf(session_);
    if (windowExists()) {
        recomputeTickStep();
        paintLabels();
    }
    for (GraphPane* pane : graphViewList_)
        pane->redrawAll();
}

void TimeAxis::redrawAll()
{
    for (GraphPane* pane : graphViewList_)
        if (pane->isPaneCreated())
            pane->redrawAll();
}

void TimeAxis::recomputeTickStep()
{
    const std::int64_t windowMs = millisecondsOf(viewIndexes_);
    const std::int64_t fitting = labelWidth_ > 0 ? axisWidth_ / labelWidth_ : 0;
    if (windowMs / 5000 < 2) {
        tickStepMs_ = 1000;
        return;
    }
    for (const int step : TICK_STEPS)
        if (windowMs / step <= fitting) {
            tickStepMs_ = step;
            return;
        }
    tickStepMs_ = LONGEST_TICK_STEP;
}

void TimeAxis::setClientSize(int width, int height)
{
    clientWidth_ = width;
    clientHeight_ = height;
    setAxisRect(0, width);
}

void TimeAxis::setLabelWidth(int width)
{
    labelWidth_ = width;
    recomputeTickStep();
}

void TimeAxis::setAxisRect(int left, int width)
{
    axisLeft_ = left;
    axisWidth_ = width;
    recomputeTickStep();
}

void TimeAxis::applyView(int left, int count)
{
    KOVA_ASSERT(left >= 0);
    KOVA_ASSERT(count >= MIN_WINDOW);
    leftIndex_ = std::max(0, left);
    viewIndexes_ = std::max(MIN_WINDOW, count);
    viewMoveIndexes_ = viewIndexes_ / 2;
}

void TimeAxis::setLeftIndex(int index)
{
    KOVA_ASSERT(index >= 0);
    leftIndex_ = std::max(0, index);
    refresh();
}

void TimeAxis::setViewIndexes(int count)
{
    KOVA_ASSERT(count > 0);
    const int view = std::max(MIN_WINDOW, count);
    const std::int64_t move = view / 2;
    const std::int64_t left =
        (static_cast<std::int64_t>(lastUpdateIndex_) - view - 1 + move) / move * move;
    applyView(clampToInt(std::max<std::int64_t>(0, left)), view);
    refresh();
    if (windowExists())
        notifyViewChanged();
}

void TimeAxis::setView(int left, int count)
{
    applyView(left, count);
    refresh();
    if (windowExists())
        notifyViewChanged();
}

void TimeAxis::setMode(int mode)
{
    switch (mode) {
    case MODE_ZOOM:
        if (owner_)
            owner_->setZoomCursor(MODE_ZOOM);
        mode_ = MODE_ZOOM;
        return;
    case MODE_SHOW_ALL:
        applyView(0, std::max(lastUpdateIndex_, minViewIndexes()));
        refresh();
        if (windowExists())
            notifyViewChanged();
        [[fallthrough]];
    case MODE_RELEASE:
    case MODE_NORMAL:
        if (owner_)
            owner_->setZoomCursor(CURSOR_NORMAL);
        mode_ = MODE_NORMAL;
        return;
    case MODE_SURVEILLANCE:
        mode_ = MODE_SURVEILLANCE;
        return;
    default:
        return;
    }
}

void TimeAxis::catchUp() { update(static_cast<int>(session_.graphData().manData.size()) - 1); }

void TimeAxis::sessionEnded()
{
    if (anchorIndex_ >= 0)
        endDrag();
    leftIndex_ = 0;
    refresh();
    if (owner_)
        owner_->updateScrollBar();
}

void TimeAxis::update(int newIndex)
{
    // The session ends itself on time; the axis only sees that it has, when
    // the session hands over the index it ended at, and shows the run from
    // its start. That index is not drawn: it lies past the session's time.
    if (!sawEnd_ && session_.hasEnded()) {
        sawEnd_ = true;
        sessionEnded();
        return;
    }
    if (clientWidth_ <= 0 || clientHeight_ <= 0) {
        lastUpdateIndex_ = newIndex;
        return;
    }
    if (newIndex <= lastUpdateIndex_)
        return;
    const std::int64_t right = static_cast<std::int64_t>(leftIndex_) + viewIndexes_;
    if (newIndex > right) {
        // Jumps of half a window until the newest sample is inside, counted at once.
        const std::int64_t move = std::max(1, viewMoveIndexes_);
        const std::int64_t jumps = (newIndex - right + move - 1) / move;
        leftIndex_ = clampToInt(leftIndex_ + jumps * move);
        lastUpdateIndex_ = newIndex;
        redrawAll();
        followCursor();
        currentFreq_ = rateOf(session_);
        invalidateLabels();
        return;
    }
    const int from = std::max(leftIndex_, lastUpdateIndex_);
    // The panes read no sample past the last update index, so it moves first.
    lastUpdateIndex_ = newIndex;
    if (from < newIndex)
        for (GraphPane* pane : graphViewList_)
            if (pane->isPaneCreated())
                pane->drawNewSamples(from, newIndex);
}

void TimeAxis::followCursor()
{
    for (GraphPane* pane : graphViewList_) {
        if (!pane->isPaneCreated())
            continue;
        if (const auto index = pane->indexUnderCursor()) {
            onMouseMove(*pane, *index);
            return;
        }
    }
}

void TimeAxis::showSelection(int from, int to)
{
    for (GraphPane* pane : graphViewList_) {
        if (!pane->isPaneCreated())
            continue;
        if (mode_ == MODE_ZOOM)
            pane->showZoomSelection(from, to);
        else
            pane->showSpanSelection(from, to);
    }
}

void TimeAxis::endDrag()
{
    anchorIndex_ = -1;
    if (capturePane_)
        capturePane_->releaseMouseCapture();
    capturePane_ = nullptr;
    showSelection(-1, -1);
}

void TimeAxis::onLButtonDown(GraphPane& pane, int index)
{
    if (mode_ != MODE_ZOOM && mode_ != MODE_NORMAL && mode_ != MODE_SURVEILLANCE)
        return;
    pane.captureMouse();
    capturePane_ = &pane;
    anchorIndex_ = index;
    showSelection(anchorIndex_, index);
}

void TimeAxis::onMouseMove(GraphPane&, int index)
{
    if (anchorIndex_ < 0)
        return;
    if (mode_ != MODE_ZOOM && mode_ != MODE_NORMAL && mode_ != MODE_SURVEILLANCE)
        return;
    showSelection(std::min(anchorIndex_, index), std::max(anchorIndex_, index));
}

void TimeAxis::zoomTo(int left, int count)
{
    applyView(left, count);
    refresh();
    if (windowExists())
        notifyViewChanged();
    if (owner_)
        owner_->setZoomCursor(CURSOR_NORMAL);
    mode_ = MODE_NORMAL;
}

void TimeAxis::onLButtonUp(GraphPane&, int index)
{
    switch (mode_) {
    case MODE_ZOOM: {
        // A button released without a press in this mode counts as a click.
        const int anchor = anchorIndex_ >= 0 ? anchorIndex_ : index;
        const std::int64_t lo = std::min(anchor, index);
        const std::int64_t hi = std::max(anchor, index);
        const std::int64_t minView = minViewIndexes();
        std::int64_t newLeft = 0;
        std::int64_t newView = 0;
        if (hi - lo <= 1) {
            newView = viewIndexes_ / 2;
            newLeft = std::max<std::int64_t>(0, lo - newView / 2);
        } else {
            newLeft = std::max<std::int64_t>(0, lo);
            newView = hi - newLeft;
        }
        if (newView < minView) {
            newView = minView;
            newLeft = std::max<std::int64_t>(0, (hi + lo) / 2 - minView / 2);
        }
        endDrag();
        zoomTo(clampToInt(newLeft), clampToInt(std::max<std::int64_t>(MIN_WINDOW, newView)));
        return;
    }
    case MODE_SHOW_ALL:
        if (owner_)
            owner_->setZoomCursor(CURSOR_NORMAL);
        mode_ = MODE_NORMAL;
        return;
    case MODE_NORMAL:
    case MODE_SURVEILLANCE:
        endDrag();
        showSelection(-1, -1);
        return;
    default:
        return;
    }
}

void TimeAxis::onRButtonUp(GraphPane&, int index)
{
    if (mode_ == MODE_SURVEILLANCE) {
        endDrag();
        session_.showSessionWindow();
        return;
    }
    std::int64_t newView = 2 * static_cast<std::int64_t>(viewIndexes_);
    std::int64_t newLeft = std::max<std::int64_t>(0, index - newView / 2);
    if (newView > maxViewIndexes()) {
        newView = maxViewIndexes();
        newLeft = 0;
    }
    zoomTo(clampToInt(newLeft), clampToInt(std::max<std::int64_t>(MIN_WINDOW, newView)));
}

void TimeAxis::onDoubleClick(GraphPane&, int)
{
    if (mode_ != MODE_SURVEILLANCE)
        return;
    endDrag();
    session_.showSessionWindow();
}
