// The surveillance window's layout without windows: the grid of the shown
// tiles, the inside of a tile, which windows a tile shows, and the zoom list.

#include "app/surveillance/SurveillanceGrid.h"
#include "app/surveillance/SurveillanceLayout.h"
#include "app/surveillance/SurveillanceTileGeometry.h"
#include "app/surveillance/SurveillanceTileText.h"
#include "app/surveillance/ZoomWindows.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using kova::RECT;

struct GridCase {
    int count;
    int width;
    int height;
    int rows;
    int columns;
};

TEST(SurveillanceGrid, rowsAndColumnsFollowTheShapeOfTheArea)
{
    const GridCase cases[] = {
        // One tile is one cell whatever the shape.
        {1, 1200, 800, 1, 1},
        {1, 100, 3000, 1, 1},
        {1, 3000, 50, 1, 1},
        // 4 ^ (1200 / 2400) = 2.
        {4, 1200, 800, 2, 2},
        // 4 ^ (1600 / 2200) = 2.74 gives 3 columns of 2 rows, one column too many.
        {4, 1600, 400, 2, 2},
        {5, 1600, 400, 2, 3},
        {5, 400, 1600, 5, 1},
        {2, 1000, 500, 2, 1},
        {3, 3000, 300, 1, 3},
        {9, 1200, 800, 3, 3},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.count) + " in " + std::to_string(c.width) + "x" + std::to_string(c.height));
        int rows = 0;
        int columns = 0;
        SurveillanceGrid::rowsAndColumns(c.count, c.width, c.height, rows, columns);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(columns, c.columns);
    }
}

TEST(SurveillanceGrid, fiveTilesNeverLeaveAnEmptyRowOrColumn)
{
    for (int width = 50; width <= 4000; width += 150) {
        for (int height = 50; height <= 4000; height += 150) {
            int rows = 0;
            int columns = 0;
            SurveillanceGrid::rowsAndColumns(5, width, height, rows, columns);
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
            ASSERT_GE(rows * columns, 5);
            ASSERT_LT((rows - 1) * columns, 5);
            ASSERT_LT(rows * (columns - 1), 5);
        }
    }
}

TEST(SurveillanceGrid, tilesFillRowByRowRightOfTheList)
{
    const auto grid = SurveillanceGrid::compute(4, 1200, 800, 100);
    ASSERT_TRUE(grid);
    // (800 - 4) / 2 - 8 high, (1200 - 100 - 1) / 2 - 4 wide.
    EXPECT_EQ(grid->tileHeight, 390);
    EXPECT_EQ(grid->tileWidth, 545);
    EXPECT_EQ(grid->tileRect(0), (RECT{100, 2, 645, 392}));
    EXPECT_EQ(grid->tileRect(1), (RECT{649, 2, 1194, 392}));
    EXPECT_EQ(grid->tileRect(2), (RECT{100, 400, 645, 790}));
    EXPECT_EQ(grid->tileRect(3), (RECT{649, 400, 1194, 790}));

    EXPECT_FALSE(SurveillanceGrid::compute(0, 1200, 800, 100));
    EXPECT_FALSE(SurveillanceGrid::compute(4, 0, 800, 100));
    EXPECT_FALSE(SurveillanceGrid::compute(4, 1200, 0, 100));
}

TEST(SurveillanceTileGeometry, withEcgTheEcgPaneSitsBelowTheAxis)
{
    // Labels 16, axis 14: the big panes 2 x (254 / 5), the ECG pane 270 / 5,
    // and a label's height between the ECG and the compression pane.
    const auto tile = SurveillanceTileGeometry::place(10, 20, 300, 300, 16, 14, true);
    EXPECT_EQ(tile.caption, (RECT{10, 20, 310, 36}));
    EXPECT_EQ(tile.ventilation, (RECT{10, 36, 310, 136}));
    EXPECT_EQ(tile.axis, (RECT{10, 136, 310, 150}));
    EXPECT_EQ(tile.ecg, (RECT{10, 150, 310, 204}));
    EXPECT_EQ(tile.compression, (RECT{10, 220, 310, 320}));
    EXPECT_EQ(tile.rate, (RECT{230, 319, 310, 334}));
}

TEST(SurveillanceTileGeometry, withoutEcgTheBigPanesShareTheHeight)
{
    const auto tile = SurveillanceTileGeometry::place(10, 20, 300, 300, 16, 14, false);
    EXPECT_EQ(tile.caption, (RECT{10, 20, 310, 36}));
    EXPECT_EQ(tile.ventilation, (RECT{10, 36, 310, 171}));
    EXPECT_EQ(tile.axis, (RECT{10, 171, 310, 185}));
    EXPECT_FALSE(tile.ecg);
    EXPECT_EQ(tile.compression, (RECT{10, 185, 310, 320}));
    EXPECT_EQ(tile.rate, (RECT{230, 319, 310, 334}));
}

TEST(SurveillanceTileGeometry, panesWithoutRoomAreNotMoved)
{
    for (const bool withEcg : {false, true}) {
        SCOPED_TRACE(withEcg);
        const auto narrow = SurveillanceTileGeometry::place(0, 0, 0, 300, 16, 14, withEcg);
        EXPECT_FALSE(narrow.axis);
        EXPECT_FALSE(narrow.ventilation);
        EXPECT_FALSE(narrow.compression);
        EXPECT_FALSE(narrow.ecg);
        // The labels go where they belong all the same.
        EXPECT_EQ(narrow.caption, (RECT{0, 0, 0, 16}));

        const auto flat = SurveillanceTileGeometry::place(0, 0, 200, 30, 16, 14, withEcg);
        EXPECT_TRUE(flat.axis);
        EXPECT_FALSE(flat.ventilation);
        EXPECT_FALSE(flat.compression);
        EXPECT_FALSE(flat.ecg);
    }
}

using Tile = SurveillanceLayout::Tile;

TEST(SurveillanceLayout, anUncheckedSessionIsHiddenAndTheOthersFillTheGrid)
{
    const std::vector<Tile> tiles{{true, false, false}, {false, false, false}, {true, false, false}};
    const auto plans = SurveillanceLayout::plan(tiles, 1000, 500, 0, 16, 14);
    ASSERT_EQ(plans.size(), 3u);
    EXPECT_FALSE(plans[1].visible);
    EXPECT_FALSE(plans[1].ecgVisible);
    EXPECT_FALSE(plans[1].geometry);
    // Two shown tiles in 1000 x 500 make one column of two rows, 240 high.
    ASSERT_TRUE(plans[0].visible && plans[0].geometry);
    ASSERT_TRUE(plans[2].visible && plans[2].geometry);
    EXPECT_EQ(plans[0].geometry->caption.left, 0);
    EXPECT_EQ(plans[0].geometry->caption.top, 2);
    EXPECT_EQ(plans[2].geometry->caption.left, 0);
    EXPECT_EQ(plans[2].geometry->caption.top, 2 + 240 + 8);
}

TEST(SurveillanceLayout, onlyAnEcgCapableSessionWithEcgSwitchedOnGetsAnEcgPane)
{
    const std::vector<Tile> tiles{
        {true, true, true},   // capable, switched on
        {true, false, true},  // not capable: never
        {true, true, false},  // capable, switched off
    };
    const auto plans = SurveillanceLayout::plan(tiles, 1200, 800, 50, 16, 14);
    ASSERT_EQ(plans.size(), 3u);
    EXPECT_TRUE(plans[0].ecgVisible);
    EXPECT_TRUE(plans[0].geometry->withEcg);
    EXPECT_TRUE(plans[0].geometry->ecg);
    for (const int i : {1, 2}) {
        EXPECT_TRUE(plans[i].visible);
        EXPECT_FALSE(plans[i].ecgVisible);
        EXPECT_FALSE(plans[i].geometry->ecg);
    }
}

TEST(SurveillanceLayout, noShownTileOrNoSizeHidesEveryTile)
{
    const std::vector<Tile> shown{{true, true, true}, {true, false, false}};
    const std::vector<Tile> unchecked{{false, true, true}, {false, false, false}};
    for (const auto& [tiles, width, height] : {std::tuple{shown, 0, 600}, std::tuple{shown, 800, 0},
                                               std::tuple{unchecked, 800, 600}}) {
        for (const auto& plan : SurveillanceLayout::plan(tiles, width, height, 0, 16, 14)) {
            EXPECT_FALSE(plan.visible);
            EXPECT_FALSE(plan.ecgVisible);
            EXPECT_FALSE(plan.geometry);
        }
    }
}

TEST(ZoomWindows, elevenWindowsFromFiveSecondsToAnHour)
{
    const wchar_t* texts[] = {L"5 sec.",  L"10 sec.", L"20 sec.", L"40 sec.", L"1 min.", L"2 min.",
                              L"5 min.",  L"10 min.", L"20 min.", L"40 min.", L"60 min."};
    ASSERT_EQ(ZoomWindows::COUNT, 11);
    for (int i = 0; i < ZoomWindows::COUNT; ++i) {
        EXPECT_EQ(ZoomWindows::text(ZoomWindows::LENGTHS_MS[i]), texts[i]);
        EXPECT_EQ(ZoomWindows::indexOf(ZoomWindows::LENGTHS_MS[i]), i);
    }
    EXPECT_EQ(ZoomWindows::LENGTHS_MS.front(), 5000);
    EXPECT_EQ(ZoomWindows::LENGTHS_MS.back(), 3600000);
    EXPECT_EQ(ZoomWindows::indexOf(ZoomWindows::DEFAULT_MS), 2);
    EXPECT_EQ(ZoomWindows::indexOf(30000), -1);
}

TEST(ZoomWindows, anHourSpansItsSamplesAtEitherRate)
{
    EXPECT_EQ(ZoomWindows::windowIndexes(3600000, 20.0), 72000);
    EXPECT_EQ(ZoomWindows::windowIndexes(3600000, 50.0), 180000);
    EXPECT_EQ(ZoomWindows::windowIndexes(5000, 20.0), 100);
    // (20000 x 19.97 + 500) x 0.001 = 399.9, truncated.
    EXPECT_EQ(ZoomWindows::windowIndexes(20000, 19.97), 399);
    // A rate no manikin has (a stored row may hold any figure) stops at the int's end.
    EXPECT_EQ(ZoomWindows::windowIndexes(3600000, 1e9), INT_MAX);
}

TEST(SurveillanceTileText, captionAndRate)
{
    EXPECT_EQ(SurveillanceTileText::caption(L"Session 2", L"Anna", L"Per"), L"Session 2, Vent.:Anna Comp.:Per");
    EXPECT_EQ(SurveillanceTileText::caption(L"Session 2", L"", L""), L"Session 2, Vent.: Comp.:");
    EXPECT_EQ(SurveillanceTileText::rate(-1.0, false), L"- comp./min");
    EXPECT_EQ(SurveillanceTileText::rate(-1.0, true), L"---- comp./min");
    // -1.5 and -0.5 truncate to -1 and 0.
    EXPECT_EQ(SurveillanceTileText::rate(-1.5, true), L"---- comp./min");
    EXPECT_EQ(SurveillanceTileText::rate(-0.5, true), L"0 comp./min");
    EXPECT_EQ(SurveillanceTileText::rate(98.9, true), L"98 comp./min");
    EXPECT_EQ(SurveillanceTileText::rate(98.9, false), L"98 comp./min");
}

} // namespace
