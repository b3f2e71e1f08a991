// The measures of a printed course schedule from the page's printable size.

#include "Database/course-planner/SchedulePage.h"

#include <gtest/gtest.h>

#include <vector>

TEST(SchedulePage, measuresFollowThePrintableWidthAndHeight)
{
    const SchedulePage page = SchedulePage::measure(4800, 6000);
    EXPECT_EQ(page.margin, 240);
    EXPECT_EQ(page.columnUnit, 375);
    EXPECT_EQ((std::vector<int>(page.columns, page.columns + 5)), (std::vector<int>{240, 1365, 2490, 3240, 3615}));
    EXPECT_EQ(page.heading1, 182);
    EXPECT_EQ(page.heading2, 480);
    EXPECT_EQ(page.banner, (SchedulePage::Box{240, 149, 935, 182}));
    EXPECT_EQ(page.picture, (SchedulePage::Box{3928, 0, 632, 480}));

    // Every product is cut, never rounded: 0.05 x 4999 is 249.95.
    const SchedulePage odd = SchedulePage::measure(4999, 1000);
    EXPECT_EQ(odd.margin, 249);
    EXPECT_EQ(odd.columnUnit, 391);
    EXPECT_EQ(odd.heading1, 30);
}
