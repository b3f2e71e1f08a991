#include "app/surveillance/SurveillanceGrid.h"

#include "Rodezir/LogStream.h"

#include <cmath>

void SurveillanceGrid::rowsAndColumns(int showCount, int width, int height, int& rows, int& columns)
{
    // A wide area gets more columns than rows: the count raised to the share
    // of the width, with a row weighing one and a half times a column.
    const double exponent = 10.0 * width / (width + 1.5 * height);
    columns = static_cast<int>(std::pow(std::pow(showCount, 0.1), exponent) + 0.5);
    if (columns <= 0) {
        columns = 1;
        rows = 1;
    } else {
        rows = (showCount + columns - 1) / columns;
        if (rows < 1)
            rows = 1;
    }
    while (rows * columns < showCount) {
        if (rows < columns)
            ++rows;
        else
            ++columns;
    }
    while ((columns - 1) * rows >= showCount)
        --columns;
    while ((rows - 1) * columns >= showCount)
        --rows;
    KOVA_ASSERT((rows * columns) >= showCount);
}

std::optional<SurveillanceGrid> SurveillanceGrid::compute(int showCount, int width, int height, int leftEdge)
{
    if (showCount <= 0 || width <= 0 || height <= 0)
        return std::nullopt;
    SurveillanceGrid grid;
    rowsAndColumns(showCount, width, height, grid.rows, grid.columns);
    grid.leftEdge = leftEdge;
    grid.tileHeight = (height - 2 * TOP_MARGIN) / grid.rows - ROW_GAP;
    grid.tileWidth = (width - leftEdge - 1) / grid.columns - COLUMN_GAP;
    return grid;
}

kova::RECT SurveillanceGrid::tileRect(int n) const
{
    const int row = n / columns;
    const int column = n % columns;
    const int x = leftEdge + column * (tileWidth + COLUMN_GAP);
    const int y = TOP_MARGIN + row * (tileHeight + ROW_GAP);
    return {x, y, x + tileWidth, y + tileHeight};
}
