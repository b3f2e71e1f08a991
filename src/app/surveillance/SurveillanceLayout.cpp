#include "app/surveillance/SurveillanceLayout.h"

#include <algorithm>

std::vector<SurveillanceLayout::Plan> SurveillanceLayout::plan(const std::vector<Tile>& tiles, int width, int height,
                                                               int leftEdge, int labelHeight, int axisHeight)
{
    std::vector<Plan> plans(tiles.size());
    const int showCount = static_cast<int>(std::count_if(tiles.begin(), tiles.end(), [](const Tile& t) { return t.shown; }));
    const std::optional<SurveillanceGrid> grid = SurveillanceGrid::compute(showCount, width, height, leftEdge);
    int placed = 0;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const Tile& tile = tiles[i];
        Plan& p = plans[i];
        if (!tile.shown || !grid)
            continue;
        p.visible = true;
        p.ecgVisible = tile.ecgCapable && tile.ecgChecked;
        const kova::RECT cell = grid->tileRect(placed++);
        p.geometry = SurveillanceTileGeometry::place(cell.left, cell.top, cell.width(), cell.height(), labelHeight,
                                                     axisHeight, p.ecgVisible);
    }
    return plans;
}
