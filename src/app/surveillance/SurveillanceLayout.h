#pragma once
// The layout of the whole surveillance window, decided without windows: which
// tiles are shown, which show their ECG pane, and where each shown tile and
// its windows go in the grid. The view applies the plan to its windows.

#include "app/surveillance/SurveillanceGrid.h"
#include "app/surveillance/SurveillanceTileGeometry.h"

#include <optional>
#include <vector>

struct SurveillanceLayout {
    struct Tile {
        // Checked in the session list.
        bool shown = true;
        // The session's manikin sends an ECG signal.
        bool ecgCapable = false;
        // "Show ECG signal" was on when the tile last took it.
        bool ecgChecked = false;
    };
    struct Plan {
        // The caption, rate label, axis and both big panes are visible.
        bool visible = false;
        // The ECG pane is visible: a shown tile of an ECG-capable session
        // whose ECG is switched on.
        bool ecgVisible = false;
        // Where the windows go; nothing when the tile is hidden or the grid
        // has no room (the windows then stay where they are).
        std::optional<SurveillanceTileGeometry> geometry;
    };

    // The plan of every tile, in the order given.
    static std::vector<Plan> plan(const std::vector<Tile>& tiles, int width, int height, int leftEdge,
                                  int labelHeight, int axisHeight);
};
