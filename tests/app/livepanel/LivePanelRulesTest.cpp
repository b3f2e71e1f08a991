// The live graph panel's rules without windows: the time, rate and battery
// displays, the layout of its graph area on screen and on paper, its
// buttons per session state, the zoom list following the axis, the scroll
// range and the printed strips.

#include "app/livepanel/GraphPrintWindow.h"
#include "app/livepanel/GraphScrollRange.h"
#include "app/livepanel/LiveButtons.h"
#include "app/livepanel/LiveDisplays.h"
#include "app/livepanel/LiveGraphLayout.h"
#include "app/livepanel/LiveZoom.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

constexpr std::array<int, 11> ZOOM_MS{5000,   10000,  20000,   40000,   60000,  120000,
                                      300000, 600000, 1200000, 2400000, 3600000};

TEST(LiveDisplays, timeShowsElapsedAgainstTheDurationAndMovesOncePerSecond)
{
    LiveDisplays displays;
    const auto first = displays.time(1300, 20.0, 120);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->caption, L"1:05 / 2:00");
    EXPECT_EQ(first->seconds, 65);
    // Still 65 s: nothing to draw.
    EXPECT_FALSE(displays.time(1310, 20.0, 120));
    EXPECT_EQ(displays.time(1320, 20.0, 120)->caption, L"1:06 / 2:00");

    LiveDisplays noLimit;
    EXPECT_EQ(noLimit.time(1300, 20.0, -1)->caption, L"1:05");
    // The first sample is second 0, which differs from nothing shown yet.
    LiveDisplays start;
    EXPECT_EQ(start.time(0, 50.0, 30)->caption, L"0:00 / 0:30");
    EXPECT_EQ(LiveDisplays::timeCaption(3600, 5400), L"60:00 / 90:00");
}

TEST(LiveDisplays, elapsedSecondsTruncateTheMilliseconds)
{
    // 1299.5 / 20 s = 64.975 s: still second 64.
    EXPECT_EQ(LiveDisplays::elapsedSeconds(1299, 20.0), 64);
    EXPECT_EQ(LiveDisplays::elapsedSeconds(1300, 20.0), 65);
    EXPECT_EQ(LiveDisplays::elapsedSeconds(1300, 0.0), 0);
    // A rate far below a manikin's: the most the display holds, never a wrap.
    EXPECT_EQ(LiveDisplays::elapsedSeconds(1300, 1e-300), INT_MAX);
}

TEST(LiveDisplays, rateLabelIsWrittenOnlyWhenTheWholeRateChanges)
{
    LiveDisplays displays;
    // The label starts as the template's "- comp./min" with 0 remembered.
    EXPECT_FALSE(displays.rate(0.0));
    EXPECT_FALSE(displays.rate(0.7));
    EXPECT_EQ(displays.rate(-1.0), L"- comp./min");
    EXPECT_EQ(displays.rate(98.6), L"98 comp./min");
    EXPECT_FALSE(displays.rate(98.1));
    EXPECT_EQ(displays.rate(0.0), L"0 comp./min");
}

struct BatteryCase {
    std::vector<int> levels;
    bool ecgCapable;
    int messages;
    int pulseOffs;
    int lastPicture;
};

class LiveBattery : public testing::TestWithParam<BatteryCase> {};

TEST_P(LiveBattery, messageComesOncePerDropToEmpty)
{
    LiveDisplays displays;
    int messages = 0;
    int pulseOffs = 0;
    int picture = 0;
    for (const int level : GetParam().levels) {
        if (const auto change = displays.battery(level, GetParam().ecgCapable)) {
            messages += change->lowBatteryMessage;
            pulseOffs += change->pulseOff;
            picture = change->bitmapId;
        }
    }
    EXPECT_EQ(messages, GetParam().messages);
    EXPECT_EQ(pulseOffs, GetParam().pulseOffs);
    EXPECT_EQ(picture, GetParam().lastPicture);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, LiveBattery,
    testing::Values(BatteryCase{{0, 0}, false, 1, 0, LiveDisplays::BITMAP_EMPTY},
                    BatteryCase{{0, 0, 1, 0}, true, 2, 2, LiveDisplays::BITMAP_EMPTY},
                    // Not reported yet, then reported: the report between two
                    // empties is not a recovery.
                    BatteryCase{{0, 255, 0}, false, 1, 0, LiveDisplays::BITMAP_EMPTY},
                    BatteryCase{{10}, true, 0, 1, LiveDisplays::BITMAP_EMPTY},
                    BatteryCase{{10}, false, 0, 0, LiveDisplays::BITMAP_EMPTY},
                    BatteryCase{{4, 3, 2, 1}, true, 0, 0, LiveDisplays::BITMAP_ONE_BAR},
                    BatteryCase{{LiveDisplays::STORED_LEVEL, LiveDisplays::STORED_LEVEL}, true, 0, 0,
                                LiveDisplays::BITMAP_NOT_AVAILABLE},
                    BatteryCase{{255, 7}, true, 0, 0, 0}));

LiveGraphLayout::Input screenInput()
{
    LiveGraphLayout::Input in;
    in.clientWidth = 800;
    in.clientHeight = 500;
    in.labelLeft = 140;
    in.textHeight = 14;
    in.rateLabelHeight = 13;
    in.axisHeight = 18;
    in.toolbarHeight = 30;
    in.scrollBarHeight = 16;
    return in;
}

TEST(LiveGraphLayout, panesShareTheHeightAroundTheAxis)
{
    LiveGraphLayout::Input in = screenInput();
    const auto out = LiveGraphLayout::screen(in);
    ASSERT_TRUE(out.placed);
    // w = 660, labels three fifths and two fifths.
    EXPECT_EQ(out.ventilationLabel, (LiveGraphLayout::Rect{140, 0, 396, 14}));
    EXPECT_EQ(out.positionLabel, (LiveGraphLayout::Rect{536, 0, 264, 13}));
    EXPECT_EQ(out.compressionLabel, (LiveGraphLayout::Rect{140, 486, 396, 14}));
    // No toolbars, no scroll bar: top = 14, y = 486, h = (486 - 14 - 18) / 2.
    EXPECT_FALSE(out.upperToolbar);
    EXPECT_FALSE(out.scrollBar);
    EXPECT_EQ(*out.ventilation, (LiveGraphLayout::Rect{140, 14, 660, 227}));
    EXPECT_EQ(out.axis, (LiveGraphLayout::Rect{140, 241, 660, 18}));
    EXPECT_EQ(*out.compression, (LiveGraphLayout::Rect{140, 259, 660, 227}));
    EXPECT_FALSE(out.ecgPane);

    in.toolbarsShown = true;
    in.scrollBarShown = true;
    const auto full = LiveGraphLayout::screen(in);
    EXPECT_EQ(*full.upperToolbar, (LiveGraphLayout::Rect{140, 17, 660, 27}));
    EXPECT_EQ(*full.scrollBar, (LiveGraphLayout::Rect{140, 484, 660, 16}));
    // y = 500 - 17 - 14 = 469 for the bottom labels, 439 above the lower toolbar.
    EXPECT_EQ(full.rateLabel.y, 469);
    EXPECT_EQ(*full.lowerToolbar, (LiveGraphLayout::Rect{140, 442, 660, 27}));
    EXPECT_EQ(full.ventilation->y, 44);
    // (439 - 44 - 18) / 2 = 188 for each pane; the odd pixel stays free.
    EXPECT_EQ(full.compression->bottom(), 438);
}

TEST(LiveGraphLayout, ecgLayoutKeepsAFreeBandOfTheAxisHeight)
{
    LiveGraphLayout::Input in = screenInput();
    in.ecg = true;
    const auto out = LiveGraphLayout::screen(in);
    ASSERT_TRUE(out.ecgPane);
    // q = (486 - 36 - 14) / 5 = 87.
    EXPECT_EQ(out.ventilation->height, 174);
    EXPECT_EQ(out.axis.y, out.ventilation->bottom());
    EXPECT_EQ(out.ecgPane->y, out.axis.bottom());
    EXPECT_EQ(out.ecgPane->height, 87);
    EXPECT_EQ(out.compression->y - out.ecgPane->bottom(), in.axisHeight);
    EXPECT_EQ(out.compression->height, 174);
}

TEST(LiveGraphLayout, tinyOrEmptyClientsPlaceNoPane)
{
    LiveGraphLayout::Input in = screenInput();
    in.clientHeight = 0;
    EXPECT_FALSE(LiveGraphLayout::screen(in).placed);
    in.clientHeight = 40;
    const auto squeezed = LiveGraphLayout::screen(in);
    EXPECT_TRUE(squeezed.placed);
    EXPECT_FALSE(squeezed.ventilation);
    EXPECT_FALSE(squeezed.compression);
    in.ecg = true;
    EXPECT_FALSE(LiveGraphLayout::screen(in).ecgPane);
    EXPECT_FALSE(LiveGraphLayout::withinLimits({0, -5, 10, 10}));
    EXPECT_FALSE(LiveGraphLayout::withinLimits({0, 0, 40000, 10}));
    EXPECT_TRUE(LiveGraphLayout::withinLimits({40000, 0, 39999, 0}));
}

TEST(LiveGraphLayout, paperSplitsTheAreaAndFramesTheAxisBands)
{
    const LiveGraphLayout::Box area{100, 200, 2100, 1400};
    const auto plain = LiveGraphLayout::paper(area, 40, false);
    // part = (1200 - 40) / 2 = 580.
    EXPECT_EQ(plain.ventilation, (LiveGraphLayout::Box{100, 200, 2100, 780}));
    EXPECT_EQ(plain.axis, (LiveGraphLayout::Box{100, 780, 2100, 820}));
    EXPECT_EQ(plain.compression, (LiveGraphLayout::Box{100, 820, 2100, 1400}));
    EXPECT_EQ(plain.axisFrame, (LiveGraphLayout::Box{100, 780, 2100, 819}));
    EXPECT_FALSE(plain.ecgPane);
    EXPECT_FALSE(plain.ecgBandFrame);

    const auto ecg = LiveGraphLayout::paper(area, 40, true);
    // part = 1160 / 3 = 386; the ECG pane ends one axis height above the
    // compression pane.
    EXPECT_EQ(ecg.ventilation.bottom, 586);
    EXPECT_EQ(*ecg.ecgPane, (LiveGraphLayout::Box{100, 626, 2100, 974}));
    EXPECT_EQ(ecg.compression.top, 1014);
    EXPECT_EQ(ecg.axisFrame, (LiveGraphLayout::Box{100, 586, 2100, 625}));
    EXPECT_EQ(*ecg.ecgBandFrame, (LiveGraphLayout::Box{100, 974, 2100, 1013}));
}

TEST(LiveButtons, statesFollowTheSession)
{
    using S = LiveButtons::States;
    // Running: only Pause, toolbars when the session has events, no scroll bar.
    EXPECT_EQ(LiveButtons::forSession(true, false, false, 30, true), (S{.pause = true, .toolbars = true}));
    EXPECT_EQ(LiveButtons::forSession(true, false, false, 30, false), (S{.pause = true}));
    // Paused before any time passed: no debriefing or print yet.
    EXPECT_EQ(LiveButtons::forSession(false, false, false, 0, true),
              (S{.start = true, .zoomButtons = true, .scrollBar = true, .blink = true}));
    EXPECT_EQ(LiveButtons::forSession(false, false, false, 12, true),
              (S{.start = true, .debriefing = true, .print = true, .zoomButtons = true, .scrollBar = true,
                 .blink = true}));
    // Ended at its duration: no Start any more, the debriefing stays.
    EXPECT_EQ(LiveButtons::forSession(false, false, true, 30, true),
              (S{.debriefing = true, .print = true, .zoomButtons = true, .scrollBar = true, .blink = true}));
    // A stored session cannot be started and its cancel button reads "Close".
    EXPECT_EQ(LiveButtons::forSession(false, true, true, 12, false),
              (S{.debriefing = true, .print = true, .zoomButtons = true, .scrollBar = true, .closeText = true}));
}

TEST(LiveZoom, windowPicksTheEntryWithinASecondElseTheNearestUnselected)
{
    // 400 samples at 20/s: 20000 ms exactly.
    EXPECT_EQ(LiveZoom::entryFor(400, 20.0, ZOOM_MS), (LiveZoom::Entry{2, true}));
    // 59.5 s lies within a second of "1 min.".
    EXPECT_EQ(LiveZoom::entryFor(1190, 20.0, ZOOM_MS), (LiveZoom::Entry{4, true}));
    // Magnifier windows matching no entry: 30.025 s lies nearer 40 s, 29.5 s
    // nearer 20 s; 2.5 s below the list, the first entry.
    EXPECT_EQ(LiveZoom::entryFor(600, 20.0, ZOOM_MS), (LiveZoom::Entry{3, false}));
    EXPECT_EQ(LiveZoom::entryFor(29, 1.0, ZOOM_MS), (LiveZoom::Entry{2, false}));
    EXPECT_EQ(LiveZoom::entryFor(50, 20.0, ZOOM_MS), (LiveZoom::Entry{0, false}));
    // 2 hours: beyond the list, the last entry.
    EXPECT_EQ(LiveZoom::entryFor(144000, 20.0, ZOOM_MS), (LiveZoom::Entry{10, false}));
    EXPECT_EQ(LiveZoom::entryFor(100, 0.0, ZOOM_MS), (LiveZoom::Entry{0, false}));
}

TEST(LiveZoom, stepperStaysOnTheListAndEntriesGiveTheAxisWindow)
{
    EXPECT_EQ(LiveZoom::stepTo(11, 11), 10);
    EXPECT_EQ(LiveZoom::stepTo(-1, 11), 0);
    EXPECT_EQ(LiveZoom::stepTo(3, 0), 0);
    // Running: the axis only takes the size. Paused: the last samples.
    EXPECT_EQ(LiveZoom::viewFor(20000, 20.0, true, 1000), (LiveZoom::View{true, 0, 400}));
    EXPECT_EQ(LiveZoom::viewFor(20000, 20.0, false, 1000), (LiveZoom::View{false, 600, 400}));
    EXPECT_EQ(LiveZoom::viewFor(3600000, 50.0, false, 1000), (LiveZoom::View{false, 0, 180000}));
}

TEST(GraphScrollRange, positionsRunFromTheStartToTheLastFullWindow)
{
    EXPECT_EQ(GraphScrollRange::of(1000, 600, 400), (GraphScrollRange{600, 400, 40, 600}));
    // A window reaching past the samples keeps its left edge reachable.
    EXPECT_EQ(GraphScrollRange::of(100, 50, 400), (GraphScrollRange{50, 400, 40, 50}));
    EXPECT_EQ(GraphScrollRange::of(0, 0, 5), (GraphScrollRange{0, 5, 1, 0}));
}

TEST(GraphPrintWindow, pagesFollowTheConfiguredStrip)
{
    EXPECT_EQ(GraphPrintWindow::pageCount(60, 5), 0);
    EXPECT_EQ(GraphPrintWindow::pageCount(150, 5), 1);
    EXPECT_EQ(GraphPrintWindow::pageCount(870, 5), 3);
    EXPECT_EQ(GraphPrintWindow::pageCount(870, 0), 15);
    const int strip = GraphPrintWindow::stripLength(5, 20.0);
    EXPECT_EQ(strip, 6000);
    EXPECT_EQ(GraphPrintWindow::page(2, strip), (GraphPrintWindow::Window{12000, 6000}));
}

TEST(GraphPrintWindow, printTimesBeyondTheLimitsCountAsTheNearerLimit)
{
    // Ten hours of session: 600 one-minute strips, or 3 of four hours (rounded).
    for (const int minutes : {-5, 0, 1})
        EXPECT_EQ(GraphPrintWindow::pageCount(36000, minutes), 600) << minutes;
    for (const int minutes : {240, 241, 100000})
        EXPECT_EQ(GraphPrintWindow::pageCount(36000, minutes), 3) << minutes;
    EXPECT_EQ(GraphPrintWindow::stripLength(100000, 20.0), 240 * 60 * 20);
    EXPECT_EQ(GraphPrintWindow::stripLength(-1, 20.0), 60 * 20);
}

// A rate far below a manikin's makes a session's time enormous: it is held
// in 64 bits, and the strips printed never outnumber what its samples fill.
TEST(GraphPrintWindow, enormousTimesCountWithoutWrappingAndTheSamplesCapTheStrips)
{
    const std::int64_t beyond32Bits = (std::int64_t{1} << 32) + 300;
    EXPECT_EQ(GraphPrintWindow::pageCount(beyond32Bits, 240), 298262);
    EXPECT_EQ(GraphPrintWindow::pageCount(std::int64_t{9'200'000'000'000'000}, 1), INT_MAX);
    EXPECT_EQ(GraphPrintWindow::pageCount(-5, 5), 0);
    // 1,800 samples in strips of 1,200: two strips, as the time gives them.
    EXPECT_EQ(GraphPrintWindow::stripsHolding(1800, 1200), 2);
    EXPECT_EQ(GraphPrintWindow::stripsHolding(1200, 1200), 1);
    EXPECT_EQ(GraphPrintWindow::stripsHolding(INT_MAX, 60), INT_MAX / 60 + 1);
    EXPECT_EQ(GraphPrintWindow::stripsHolding(0, 1200), 0);
    EXPECT_EQ(GraphPrintWindow::stripsHolding(1800, 0), 0) << "no strip of no samples";
}

TEST(GraphPrintWindow, firstActionStripEndsAStripAfterTheActionOrAtTheLastSample)
{
    // 20 s in, 5 minutes of 50 samples a second, 40000 samples recorded.
    EXPECT_EQ(GraphPrintWindow::firstAction(20, 50.0, 40000, 15000), (GraphPrintWindow::Window{1000, 15000}));
    // Short session: all of it.
    EXPECT_EQ(GraphPrintWindow::firstAction(20, 50.0, 3000, 15000), (GraphPrintWindow::Window{0, 3000}));
    // No action at all counts as the start.
    EXPECT_EQ(GraphPrintWindow::firstAction(-1, 50.0, 40000, 15000), (GraphPrintWindow::Window{0, 15000}));
    // Nothing recorded: the first strip rather than an empty window.
    EXPECT_EQ(GraphPrintWindow::firstAction(-1, 50.0, 0, 15000), (GraphPrintWindow::Window{0, 15000}));
}

} // namespace
