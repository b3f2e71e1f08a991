#pragma once
// Where the surveillance window puts its tiles: how many rows and columns the
// shown tiles take in the client area (as square as its shape allows, with
// no empty row or column), and the rectangle of each shown tile. Window-free.

#include "Rodezir/Geometry.h"

#include <optional>

struct SurveillanceGrid {
    // Space between tiles and at the top edge of the client area.
    static constexpr int TOP_MARGIN = 2;
    static constexpr int COLUMN_GAP = 4;
    static constexpr int ROW_GAP = 8;

    int rows = 1;
    int columns = 1;
    int leftEdge = 0;
    int tileWidth = 0;
    int tileHeight = 0;

    // The grid for `showCount` tiles in a client area of width x height whose
    // tiles start at `leftEdge` (right of the session list); nothing when
    // there is no tile to show or the area has no size.
    static std::optional<SurveillanceGrid> compute(int showCount, int width, int height, int leftEdge);
    // Rows and columns alone.
    static void rowsAndColumns(int showCount, int width, int height, int& rows, int& columns);

    // The rectangle of the n-th shown tile (from 0), filled row by row.
    kova::RECT tileRect(int n) const;
};
