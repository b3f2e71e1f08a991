#include "Database/course-planner/SchedulePage.h"

namespace {
int truncated(double value) { return static_cast<int>(value); }
} // namespace

SchedulePage SchedulePage::measure(int width, int height)
{
    SchedulePage page;
    page.width = width;
    page.height = height;
    page.margin = truncated(0.05 * width);
    page.heading1 = truncated(0.0304 * height);
    page.heading2 = truncated(0.08 * height);
    page.columnUnit = truncated(0.9 * width * 2 / 23);
    const int unitsBefore[5] = {0, 3, 6, 8, 9};
    for (int column = 0; column < 5; ++column)
        page.columns[column] = page.margin + unitsBefore[column] * page.columnUnit;

    page.banner.height = page.heading1;
    page.banner.width = page.heading1 * BANNER_SOURCE_WIDTH / BANNER_SOURCE_HEIGHT;
    page.banner.x = page.margin;
    page.banner.y = (page.heading2 - page.heading1) / 2;

    page.picture.height = page.heading2;
    page.picture.width = page.heading2 * PICTURE_SOURCE_WIDTH / PICTURE_SOURCE_HEIGHT;
    page.picture.x = width - page.margin - page.picture.width;
    page.picture.y = 0;
    return page;
}
