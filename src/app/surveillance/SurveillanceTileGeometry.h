#pragma once
// The inside of one surveillance tile: the caption line across the top, the
// ventilation pane, the time axis, the ECG pane (for an ECG-capable session
// whose ECG is shown), the compression pane, and the rate label at the lower
// right. Window-free: the tile moves its windows to these rectangles.

#include "Rodezir/Geometry.h"

#include <optional>

struct SurveillanceTileGeometry {
    // Width of the rate label.
    static constexpr int RATE_WIDTH = 80;

    kova::RECT caption;
    kova::RECT rate;
    // Not placed (the window keeps where it was) when the tile or the pane
    // has no size.
    std::optional<kova::RECT> ventilation;
    std::optional<kova::RECT> axis;
    std::optional<kova::RECT> ecg;
    std::optional<kova::RECT> compression;
    bool withEcg = false;

    // The tile at x, y of w x h pixels, with labels `labelHeight` and the
    // axis `axisHeight` pixels high.
    static SurveillanceTileGeometry place(int x, int y, int w, int h, int labelHeight, int axisHeight, bool withEcg);
};
